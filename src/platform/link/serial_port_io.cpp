#include "platform/link/serial_port_io.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace rz47 {
namespace {

constexpr std::uint32_t kBaudReference = 3'000'000;
constexpr std::uint32_t kTolerancePerMille = 30;

constexpr std::array<SerialSpeed, 29> kStandardSpeeds{{
    {B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},
    {B150, 150},         {B200, 200},         {B300, 300},         {B600, 600},
    {B1200, 1200},       {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
    {B9600, 9600},       {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
    {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
    {B1500000, 1500000}, {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000},
    {B4000000, 4000000},
}};

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

FT_STATUS WithAttributes(int fd, auto&& change) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return FT_IO_ERROR;
  if (!change(tio)) return FT_INVALID_PARAMETER;
  if (tcsetattr(fd, TCSANOW, &tio) == 0) return FT_OK;
  // The driver refuses a setting it cannot do (a pseudo-terminal has no parity).
  return errno == EINVAL ? FT_INVALID_PARAMETER : FT_IO_ERROR;
}

void RequestLowLatency(int fd) {
#if defined(__linux__) && defined(TIOCGSERIAL) && defined(ASYNC_LOW_LATENCY)
  serial_struct serial{};
  if (ioctl(fd, TIOCGSERIAL, &serial) == 0) {
    serial.flags |= ASYNC_LOW_LATENCY;
    (void)ioctl(fd, TIOCSSERIAL, &serial);
  }
#else
  (void)fd;
#endif
}

bool Vanished(int error) { return error == EIO || error == ENXIO || error == ENODEV || error == EBADF; }

}  // namespace

std::optional<SerialSpeed> StandardSpeedForDivisor(std::uint16_t divisor) {
  if (divisor == 0) return std::nullopt;
  const std::uint32_t wanted = kBaudReference / divisor;
  const SerialSpeed* best = nullptr;
  std::uint32_t bestDiff = 0;
  for (const SerialSpeed& s : kStandardSpeeds) {
    const std::uint32_t diff = s.baud > wanted ? s.baud - wanted : wanted - s.baud;
    if (best == nullptr || diff < bestDiff) {
      best = &s;
      bestDiff = diff;
    }
  }
  if (static_cast<std::uint64_t>(bestDiff) * 1000 > static_cast<std::uint64_t>(wanted) * kTolerancePerMille) {
    return std::nullopt;
  }
  return *best;
}

bool MakeRawLine(termios& tio, speed_t speed) {
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
#ifdef CMSPAR
  tio.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  // Reads are paced by poll(); a read() then returns what is there.
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  return cfsetispeed(&tio, speed) == 0 && cfsetospeed(&tio, speed) == 0;
}

bool SetLineFormat(termios& tio, std::uint8_t wordLength, std::uint8_t stopBits, std::uint8_t parity) {
  if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 4) return false;
#ifndef CMSPAR
  if (parity >= 3) return false;
#endif
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
#ifdef CMSPAR
  tio.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
  tio.c_cflag |= wordLength == 8 ? CS8 : CS7;
  if (stopBits == 2) tio.c_cflag |= CSTOPB;
  switch (parity) {
    case 1: tio.c_cflag |= PARENB | PARODD; break;
    case 2: tio.c_cflag |= PARENB; break;
#ifdef CMSPAR
    case 3: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: tio.c_cflag |= PARENB | CMSPAR; break;
#endif
    default: break;
  }
  return true;
}

FT_STATUS ConfigureRawPort(int fd, speed_t speed) {
  const FT_STATUS status = WithAttributes(fd, [speed](termios& tio) { return MakeRawLine(tio, speed); });
  if (status == FT_OK) RequestLowLatency(fd);
  return status;
}

FT_STATUS SetPortSpeed(int fd, speed_t speed) {
  return WithAttributes(fd, [speed](termios& tio) {
    return cfsetispeed(&tio, speed) == 0 && cfsetospeed(&tio, speed) == 0;
  });
}

FT_STATUS SetPortDataCharacteristics(int fd, std::uint8_t wordLength, std::uint8_t stopBits,
                                     std::uint8_t parity) {
  return WithAttributes(fd, [=](termios& tio) { return SetLineFormat(tio, wordLength, stopBits, parity); });
}

FT_STATUS FlushPort(int fd, DWORD mask) {
  const bool rx = (mask & FT_PURGE_RX) != 0;
  const bool tx = (mask & FT_PURGE_TX) != 0;
  if (!rx && !tx) return FT_OK;
  const int queue = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
  return tcflush(fd, queue) == 0 ? FT_OK : FT_IO_ERROR;
}

FT_STATUS ReadPort(int fd, std::uint8_t* buffer, std::size_t length, int timeoutMs, std::size_t* got) {
  *got = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  bool pollSaidReadable = false;
  while (*got < length) {
    const ssize_t n = read(fd, buffer + *got, length - *got);
    if (n > 0) {
      *got += static_cast<std::size_t>(n);
      pollSaidReadable = false;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return FT_IO_ERROR;
    // A descriptor that poll() calls readable but that yields nothing is at its end:
    // the device hung up.
    if (pollSaidReadable) return FT_IO_ERROR;
    const int waitMs = RemainingMs(deadline);
    if (waitMs == 0) break;
    pollfd pfd{fd, POLLIN, 0};
    const int ready = poll(&pfd, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return FT_IO_ERROR;
    if (ready == 0) break;
    // With a hang-up, the next read still returns what arrived before it, then nothing.
    pollSaidReadable = (pfd.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
  }
  return FT_OK;
}

FT_STATUS WritePort(int fd, const std::uint8_t* buffer, std::size_t length, int timeoutMs,
                    std::size_t* put) {
  *put = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (*put < length) {
    const ssize_t n = write(fd, buffer + *put, length - *put);
    if (n > 0) {
      *put += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Vanished(errno) ? FT_IO_ERROR : FT_OTHER_ERROR;
    const int waitMs = RemainingMs(deadline);
    if (waitMs == 0) break;
    pollfd pfd{fd, POLLOUT, 0};
    const int ready = poll(&pfd, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return FT_IO_ERROR;
    if (ready == 0) break;
    if ((pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return FT_IO_ERROR;
  }
  return FT_OK;
}

}  // namespace rz47
