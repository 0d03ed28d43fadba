// Port list and speed rules of the serial backend.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/link/serial_port_io.h"
#include "platform/link/serial_port_list.h"

namespace rz47 {
namespace {

struct DivisorCase {
  std::uint16_t divisor;
  std::optional<std::uint32_t> baud;  // nothing: no standard speed close enough
};

class DivisorSpeeds : public ::testing::TestWithParam<DivisorCase> {};

TEST_P(DivisorSpeeds, NearestStandardSpeedWithinTolerance) {
  const auto speed = StandardSpeedForDivisor(GetParam().divisor);
  ASSERT_EQ(speed.has_value(), GetParam().baud.has_value());
  if (speed) {
    EXPECT_EQ(speed->baud, *GetParam().baud);
  }
}

INSTANTIATE_TEST_SUITE_P(Divisors, DivisorSpeeds,
                         ::testing::Values(DivisorCase{3, 1'000'000},   // the gauge's rate
                                           DivisorCase{1, 3'000'000}, DivisorCase{2, 1'500'000},
                                           DivisorCase{26, 115'200},    // 115,385: 0.2 % off
                                           DivisorCase{312, 9'600},     // 9,615
                                           DivisorCase{5, std::nullopt},  // 600,000: 576,000 is 4 % off
                                           DivisorCase{7, std::nullopt},  // 428,571
                                           DivisorCase{0, std::nullopt}));

TEST(DivisorSpeeds, GaugeRateIsTheTermiosConstant) {
  const auto speed = StandardSpeedForDivisor(3);
  ASSERT_TRUE(speed);
  EXPECT_EQ(speed->code, static_cast<speed_t>(B1000000));
}

SerialPortEntry Usb(const std::string& path, const std::string& product) {
  SerialPortEntry e;
  e.path = path;
  e.description = product;
  return e;
}

TEST(SerialPortList, EnumeratedPortsThenNamedPortsAsGauges) {
  const auto list = BuildSerialPortList({Usb("/dev/ttyUSB0", "USB UART"), Usb("/dev/ttyUSB1", "RZ-4.7"),
                                         Usb("/dev/ttyUSB2", "Other")},
                                        {"/dev/pts/3", "/dev/ttyUSB2", "", "/dev/pts/3"});
  std::vector<std::string> seen;
  for (const auto& e : list) seen.push_back(e.path + "=" + e.description);
  EXPECT_EQ(seen, (std::vector<std::string>{"/dev/ttyUSB0=USB UART", "/dev/ttyUSB1=RZ-4.7",
                                            "/dev/pts/3=RZ-4.7 (/dev/pts/3)",
                                            "/dev/ttyUSB2=RZ-4.7 (/dev/ttyUSB2)"}));
}

TEST(SerialPortList, NoPortsNoDevices) { EXPECT_TRUE(BuildSerialPortList({}, {}).empty()); }

}  // namespace
}  // namespace rz47

namespace rz47 {
namespace {

struct LineCase {
  std::uint8_t wordLength, stopBits, parity;
  std::optional<tcflag_t> flags;  // CSIZE, PARENB, PARODD, CSTOPB, CMSPAR; nothing: refused
};

constexpr tcflag_t kFormatBits = CSIZE | PARENB | PARODD | CSTOPB | CMSPAR;

class LineFormats : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineFormats, SetTheFormatBitsOnly) {
  termios tio{};
  ASSERT_TRUE(MakeRawLine(tio, B1000000));
  tio.c_cflag |= CSTOPB | PARENB;  // left over from an earlier setting
  const termios before = tio;
  const LineCase& c = GetParam();
  ASSERT_EQ(SetLineFormat(tio, c.wordLength, c.stopBits, c.parity), c.flags.has_value());
  if (!c.flags) {
    EXPECT_EQ(tio.c_cflag, before.c_cflag);
    return;
  }
  EXPECT_EQ(tio.c_cflag & kFormatBits, *c.flags);
  EXPECT_EQ(tio.c_cflag & ~kFormatBits, before.c_cflag & ~kFormatBits);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B1000000));
}

INSTANTIATE_TEST_SUITE_P(Formats, LineFormats,
                         ::testing::Values(LineCase{8, 0, 0, CS8},  // the gauge's 8N1
                                           LineCase{7, 2, 1, CS7 | CSTOPB | PARENB | PARODD},
                                           LineCase{8, 0, 2, CS8 | PARENB},
                                           LineCase{8, 0, 3, CS8 | PARENB | PARODD | CMSPAR},
                                           LineCase{8, 0, 4, CS8 | PARENB | CMSPAR},
                                           LineCase{9, 0, 0, std::nullopt}, LineCase{8, 1, 0, std::nullopt},
                                           LineCase{8, 0, 5, std::nullopt}));

TEST(RawLine, IsTransparentEightBitWithoutFlowControl) {
  termios tio{};
  tio.c_iflag = ICRNL | IXON | ISTRIP;
  tio.c_oflag = OPOST | ONLCR;
  tio.c_lflag = ICANON | ECHO | ISIG;
  tio.c_cflag = CRTSCTS | PARENB | CS7;
  ASSERT_TRUE(MakeRawLine(tio, B1000000));
  EXPECT_EQ(tio.c_cflag & (kFormatBits | CRTSCTS), static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | IXOFF | ISTRIP), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B1000000));
}

}  // namespace
}  // namespace rz47
