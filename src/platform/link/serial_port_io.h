// Blocking I/O with time-outs on an open serial device (POSIX termios, fd opened
// O_NONBLOCK), the way the link API's calls need it:
//  - a read waits until all bytes arrived or the time-out passed, and succeeds with
//    fewer bytes in the second case;
//  - a device that vanished (hang-up, EIO, ENXIO, ENODEV) is a failure, never a
//    silent short read.
// The functions keep no state; one thread per fd at a time.
#pragma once

#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/link/ft_api.h"

namespace rz47 {

struct SerialSpeed {
  speed_t code;        // B... constant for cfsetspeed
  std::uint32_t baud;  // its rate in bits per second
};

// The serial engine derives its rate from a 3 MHz reference divided by the divisor.
// Termios only offers standard speeds: the nearest one is taken if it lies within
// the tolerance of an asynchronous link (3 %), otherwise there is none.
std::optional<SerialSpeed> StandardSpeedForDivisor(std::uint16_t divisor);

// Raw 8N1 at `speed`, receiver on, modem lines ignored, no hardware or software flow
// control; reads return what is there (the waiting is done with poll()).
bool MakeRawLine(termios& tio, speed_t speed);
// wordLength 7 or 8; stopBits 0 (one) or 2 (two); parity 0 none, 1 odd, 2 even,
// 3 mark, 4 space. False, and `tio` unchanged, for anything else.
bool SetLineFormat(termios& tio, std::uint8_t wordLength, std::uint8_t stopBits, std::uint8_t parity);

// MakeRawLine on the port. On Linux it also asks the driver for low latency (refusal is
// ignored: a pseudo-terminal or a non-FTDI driver does not know the flag).
FT_STATUS ConfigureRawPort(int fd, speed_t speed);
FT_STATUS SetPortSpeed(int fd, speed_t speed);
// SetLineFormat on the port; FT_INVALID_PARAMETER also when the driver refuses it.
FT_STATUS SetPortDataCharacteristics(int fd, std::uint8_t wordLength, std::uint8_t stopBits,
                                     std::uint8_t parity);
// mask: FT_PURGE_RX and/or FT_PURGE_TX.
FT_STATUS FlushPort(int fd, DWORD mask);

FT_STATUS ReadPort(int fd, std::uint8_t* buffer, std::size_t length, int timeoutMs, std::size_t* got);
FT_STATUS WritePort(int fd, const std::uint8_t* buffer, std::size_t length, int timeoutMs,
                    std::size_t* put);

}  // namespace rz47
