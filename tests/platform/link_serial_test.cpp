// The serial backend end to end: rz47-gauge-sim serves the gauge on a real
// pseudo-terminal, the backend finds it as a named port and talks to it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/crc16.h"
#include "link_gauge_sim_process.h"
#include "platform/link/serial_backend.h"

namespace rz47 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::GaugeSimProcess;

constexpr DWORD kTestTimeoutMs = 1000;
constexpr DWORD kShortTimeoutMs = 100;

Bytes Frame(std::uint8_t code, std::uint8_t high, std::uint8_t low) {
  return {0xAA, code, static_cast<std::uint8_t>(~code), high, low};
}

class SerialLink : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& options = {}) {
    sim = std::make_unique<GaugeSimProcess>(options);
    ASSERT_FALSE(sim->Port().empty()) << "rz47-gauge-sim did not start";
    backend = std::make_unique<SerialBackend>(std::vector<std::string>{sim->Port()});
  }

  // Index of the simulator's port in a fresh device list, -1 if missing.
  int FindGauge() {
    DWORD count = 0;
    if (backend->CreateDeviceInfoList(&count) != FT_OK || count == 0) return -1;
    std::vector<FT_DEVICE_LIST_INFO_NODE> nodes(count);
    if (backend->GetDeviceInfoList(nodes.data(), &count) != FT_OK) return -1;
    const std::string wanted = "RZ-4.7 (" + sim->Port() + ")";
    for (DWORD i = 0; i < count; ++i) {
      if (wanted == nodes[i].Description) return static_cast<int>(i);
    }
    return -1;
  }

  FT_HANDLE OpenGauge(DWORD timeoutMs = kTestTimeoutMs) {
    const int index = FindGauge();
    EXPECT_GE(index, 0);
    FT_HANDLE h = nullptr;
    EXPECT_EQ(backend->Open(index, &h), FT_OK);
    EXPECT_EQ(backend->SetDivisor(h, 3), FT_OK);
    EXPECT_EQ(backend->SetDataCharacteristics(h, 8, 0, 0), FT_OK);
    EXPECT_EQ(backend->SetTimeouts(h, timeoutMs, timeoutMs), FT_OK);
    return h;
  }

  FT_STATUS Send(FT_HANDLE h, const Bytes& bytes) {
    DWORD written = 0;
    const FT_STATUS s = backend->Write(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written);
    if (s == FT_OK) {
      EXPECT_EQ(written, bytes.size());
    }
    return s;
  }

  FT_STATUS Receive(FT_HANDLE h, std::size_t want, Bytes* got) {
    got->assign(want, 0);
    DWORD n = 0;
    const FT_STATUS s = backend->Read(h, got->data(), static_cast<DWORD>(want), &n);
    got->resize(n);
    return s;
  }

  std::unique_ptr<GaugeSimProcess> sim;
  std::unique_ptr<SerialBackend> backend;
};

TEST_F(SerialLink, NamedPortIsListedLastAsAGauge) {
  Start();
  DWORD count = 0;
  ASSERT_EQ(backend->CreateDeviceInfoList(&count), FT_OK);
  ASSERT_GE(count, 1u);
  EXPECT_EQ(FindGauge(), static_cast<int>(count) - 1);
}

TEST_F(SerialLink, VersionRoundTrip) {
  Start();
  FT_HANDLE h = OpenGauge();
  ASSERT_EQ(backend->Purge(h, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  ASSERT_EQ(Send(h, Frame(0x01, 0, 0)), FT_OK);
  Bytes answer;
  ASSERT_EQ(Receive(h, 21, &answer), FT_OK);
  const Bytes expected = {0xAA, 0x01, 0xFE, 0, 0, 'R', 'Z', '-', '4', '.', '7',
                          '2',  '1',  '.',  '0', '4', '.', '2', '0', '1', '5'};
  EXPECT_EQ(answer, expected);
  EXPECT_EQ(backend->Close(h), FT_OK);
}

TEST_F(SerialLink, LargeAnswersArriveWhole) {
  Start();
  FT_HANDLE h = OpenGauge();
  ASSERT_EQ(Send(h, Frame(0x03, 0x01, 0x02)), FT_OK);  // record 258 of the demo's 300
  Bytes record;
  ASSERT_EQ(Receive(h, 29, &record), FT_OK);
  ASSERT_EQ(record.size(), 29u);
  EXPECT_EQ(Bytes(record.begin(), record.begin() + 5), (Frame(0x03, 0x01, 0x02)));
  EXPECT_EQ(Crc16(record.data() + 5, 24), 0);
  ASSERT_EQ(Send(h, Frame(0x06, 0, 0)), FT_OK);
  Bytes screen;
  ASSERT_EQ(Receive(h, 1029, &screen), FT_OK);
  EXPECT_EQ(screen.size(), 1029u);
}

TEST_F(SerialLink, MaterialWriteTravelsWithItsRecord) {
  Start();
  FT_HANDLE h = OpenGauge();
  Bytes bytes = Frame(0x05, 0, 11);
  Bytes record(52, 0);
  record[0] = 3;
  record[1] = 'N';
  record[2] = 'e';
  record[3] = 'w';
  record[42] = 0x88;
  record[43] = 0x13;  // 5000
  const std::uint16_t crc = Crc16(record.data(), 50);
  record[50] = static_cast<std::uint8_t>(crc & 0xFF);
  record[51] = static_cast<std::uint8_t>(crc >> 8);
  bytes.insert(bytes.end(), record.begin(), record.end());
  ASSERT_EQ(Send(h, bytes), FT_OK);
  Bytes answer;
  ASSERT_EQ(Receive(h, 5, &answer), FT_OK);
  EXPECT_EQ(answer, Frame(0x05, 0, 11));
  ASSERT_EQ(Send(h, Frame(0x04, 0, 11)), FT_OK);
  ASSERT_EQ(Receive(h, 57, &answer), FT_OK);
  ASSERT_EQ(answer.size(), 57u);
  EXPECT_EQ(Bytes(answer.begin() + 5, answer.begin() + 9), (Bytes{3, 'N', 'e', 'w'}));
  EXPECT_EQ(answer[5 + 42] | answer[5 + 43] << 8, 5000);
}

TEST_F(SerialLink, ReadTimeOutReturnsWhatArrived) {
  Start();
  FT_HANDLE h = OpenGauge(kShortTimeoutMs);
  ASSERT_EQ(Send(h, Frame(0x01, 0, 0)), FT_OK);
  Bytes answer;
  ASSERT_EQ(Receive(h, 30, &answer), FT_OK);
  EXPECT_EQ(answer.size(), 21u);
  ASSERT_EQ(Receive(h, 5, &answer), FT_OK);
  EXPECT_TRUE(answer.empty());
}

TEST_F(SerialLink, SilentGaugeReadsNothing) {
  Start({"--silent"});
  FT_HANDLE h = OpenGauge(kShortTimeoutMs);
  ASSERT_EQ(Send(h, Frame(0x01, 0, 0)), FT_OK);
  Bytes answer;
  EXPECT_EQ(Receive(h, 5, &answer), FT_OK);
  EXPECT_TRUE(answer.empty());
}

TEST_F(SerialLink, PurgeDropsAnAnswerThatArrived) {
  Start();
  FT_HANDLE h = OpenGauge(kShortTimeoutMs);
  ASSERT_EQ(Send(h, Frame(0x01, 0, 0)), FT_OK);
  Bytes first;
  ASSERT_EQ(Receive(h, 1, &first), FT_OK);  // the answer is here
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(backend->Purge(h, FT_PURGE_RX | FT_PURGE_TX), FT_OK);
  Bytes rest;
  ASSERT_EQ(Receive(h, 20, &rest), FT_OK);
  EXPECT_TRUE(rest.empty());
}

TEST_F(SerialLink, GaugeSettingsReachTheTerminal) {
  Start();
  FT_HANDLE h = OpenGauge();
  ASSERT_NE(h, nullptr);
  const int fd = open(sim->Port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  termios tio{};
  ASSERT_EQ(tcgetattr(fd, &tio), 0);
  close(fd);
  EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B1000000));
  EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B1000000));
  EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(SerialLink, RefusesWhatItCannotDo) {
  Start();
  FT_HANDLE h = OpenGauge();
  EXPECT_EQ(backend->SetDivisor(h, 7), FT_INVALID_PARAMETER);
  EXPECT_EQ(backend->SetDataCharacteristics(h, 9, 0, 0), FT_INVALID_PARAMETER);
  EXPECT_EQ(backend->SetDataCharacteristics(h, 8, 1, 0), FT_INVALID_PARAMETER);
  FT_HANDLE second = nullptr;
  EXPECT_EQ(backend->Open(FindGauge(), &second), FT_DEVICE_NOT_OPENED);  // already open
  EXPECT_EQ(backend->Open(1000, &second), FT_DEVICE_NOT_FOUND);
  ASSERT_EQ(backend->Close(h), FT_OK);
  DWORD n = 0;
  EXPECT_EQ(backend->Write(h, "x", 1, &n), FT_INVALID_HANDLE);
  EXPECT_EQ(backend->Close(h), FT_INVALID_HANDLE);
}

TEST_F(SerialLink, MissingNamedPortDoesNotOpen) {
  SerialBackend missing({"/nonexistent/tty"}, [] { return std::vector<SerialPortEntry>{}; });
  DWORD count = 0;
  ASSERT_EQ(missing.CreateDeviceInfoList(&count), FT_OK);
  ASSERT_EQ(count, 1u);
  FT_HANDLE h = nullptr;
  EXPECT_EQ(missing.Open(0, &h), FT_DEVICE_NOT_OPENED);
}

TEST_F(SerialLink, ReopensAfterClose) {
  Start();
  for (int i = 0; i < 3; ++i) {
    FT_HANDLE h = OpenGauge();
    ASSERT_EQ(Send(h, Frame(0x02, 0, 0)), FT_OK);
    Bytes answer;
    ASSERT_EQ(Receive(h, 209, &answer), FT_OK);
    EXPECT_EQ(answer.size(), 209u) << "pass " << i;
    ASSERT_EQ(backend->Close(h), FT_OK);
  }
}

// A vanished gauge must fail the call, never pass as a quiet time-out.
struct VanishCase {
  std::string name;
  std::vector<std::string> options;
  bool kill;  // SIGKILL the simulator; otherwise its unplug fault ends it
};

class SerialLinkVanishing : public SerialLink, public ::testing::WithParamInterface<VanishCase> {};

TEST_P(SerialLinkVanishing, FailsTheTransfer) {
  Start(GetParam().options);
  FT_HANDLE h = OpenGauge();
  ASSERT_EQ(Send(h, Frame(0x01, 0, 0)), FT_OK);
  Bytes answer;
  ASSERT_EQ(Receive(h, 21, &answer), FT_OK);
  ASSERT_EQ(answer.size(), 21u);
  if (GetParam().kill) {
    sim->Signal(SIGKILL);
  } else {
    Send(h, Frame(0x01, 0, 0));  // the frame that unplugs it
  }
  EXPECT_NE(sim->Wait(), -1);
  const FT_STATUS write = Send(h, Frame(0x01, 0, 0));
  const FT_STATUS read = Receive(h, 21, &answer);
  EXPECT_NE(write, FT_OK);
  EXPECT_NE(read, FT_OK);
  EXPECT_TRUE(answer.empty());
  EXPECT_EQ(backend->Close(h), FT_OK);  // the handle is released all the same
}

INSTANTIATE_TEST_SUITE_P(Ways, SerialLinkVanishing,
                         ::testing::Values(VanishCase{"killed", {}, true},
                                           VanishCase{"unplug_fault", {"--unplug-after", "1"}, false}),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST(GaugeSimProgram, LinkFollowsThePortAndGoesOnTerminate) {
  const std::string link = ::testing::TempDir() + "rz47-gauge-link-test";
  unlink(link.c_str());
  GaugeSimProcess sim({"--link", link});
  ASSERT_FALSE(sim.Port().empty());
  char target[256] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(sim.Port(), target);

  SerialBackend backend({link}, [] { return std::vector<SerialPortEntry>{}; });
  DWORD count = 0;
  ASSERT_EQ(backend.CreateDeviceInfoList(&count), FT_OK);
  FT_HANDLE h = nullptr;
  ASSERT_EQ(backend.Open(0, &h), FT_OK);
  ASSERT_EQ(backend.Close(h), FT_OK);

  sim.Signal(SIGTERM);
  EXPECT_EQ(sim.Wait(), 0);
  struct stat st {};
  EXPECT_NE(lstat(link.c_str(), &st), 0);
}

struct BadArguments {
  std::vector<std::string> args;
};

class GaugeSimProgramArguments : public ::testing::TestWithParam<BadArguments> {};

TEST_P(GaugeSimProgramArguments, AreRefusedWithExitTwo) {
  GaugeSimProcess sim(GetParam().args);
  EXPECT_TRUE(sim.Port().empty());
  EXPECT_EQ(sim.Wait(), 2);
}

INSTANTIATE_TEST_SUITE_P(Args, GaugeSimProgramArguments,
                         ::testing::Values(BadArguments{{"--bogus"}}, BadArguments{{"--unplug-after", "x"}},
                                           BadArguments{{"--fixture", "/nonexistent/fixture.txt"}},
                                           BadArguments{{"--fixture"}}));

}  // namespace
}  // namespace rz47
