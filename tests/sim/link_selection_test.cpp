// Backend choice at start-up.
#include "sim/link_selection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/link/serial_backend.h"
#include "sim/simulated_backend.h"

namespace rz47 {
namespace {

std::vector<std::string> Descriptions(LinkBackend& backend) {
  DWORD count = 0;
  EXPECT_EQ(backend.CreateDeviceInfoList(&count), FT_OK);
  std::vector<FT_DEVICE_LIST_INFO_NODE> nodes(count);
  std::vector<std::string> descriptions;
  if (count == 0) return descriptions;
  EXPECT_EQ(backend.GetDeviceInfoList(nodes.data(), &count), FT_OK);
  for (const auto& node : nodes) descriptions.emplace_back(node.Description);
  return descriptions;
}

TEST(LinkSelection, SimulatedGaugeWhenAsked) {
  std::string problem;
  auto backend = ChooseLinkBackend("sim", nullptr, nullptr, "/dev/ignored", {}, &problem);
  auto* simulated = dynamic_cast<sim::SimulatedBackend*>(backend.get());
  ASSERT_NE(simulated, nullptr);
  EXPECT_EQ(simulated->Model().archive.size(), 300u);
  EXPECT_EQ(Descriptions(*backend), std::vector<std::string>{"RZ-4.7 simulated"});
  EXPECT_TRUE(problem.empty());
}

TEST(LinkSelection, SerialPortsFromEnvironmentThenCommandLine) {
  std::string problem;
  auto backend = ChooseLinkBackend(nullptr, nullptr, nullptr, "/dev/a::/dev/b", {"/dev/c"}, &problem);
  ASSERT_NE(dynamic_cast<SerialBackend*>(backend.get()), nullptr);
  const std::vector<std::string> all = Descriptions(*backend);
  ASSERT_GE(all.size(), 3u);  // USB serial ports of this machine come first
  EXPECT_EQ(std::vector<std::string>(all.end() - 3, all.end()),
            (std::vector<std::string>{"RZ-4.7 (/dev/a)", "RZ-4.7 (/dev/b)", "RZ-4.7 (/dev/c)"}));
}

TEST(LinkSelection, OtherDeviceValuesMeanSerial) {
  auto backend = ChooseLinkBackend("serial", nullptr, nullptr, nullptr, {}, nullptr);
  EXPECT_NE(dynamic_cast<SerialBackend*>(backend.get()), nullptr);
}

TEST(LinkSelection, FixtureAndFaultsReachTheSimulatedGauge) {
  const std::string path = ::testing::TempDir() + "link_selection_fixture.txt";
  std::ofstream(path) << "record\t01.02.2015\t10:11:12\t1\t2\t3\t4.5\t6\n";
  std::string problem;
  auto backend = ChooseLinkBackend("sim", path.c_str(), "--old-firmware", nullptr, {}, &problem);
  std::remove(path.c_str());
  EXPECT_TRUE(problem.empty()) << problem;
  auto* simulated = dynamic_cast<sim::SimulatedBackend*>(backend.get());
  ASSERT_NE(simulated, nullptr);
  EXPECT_EQ(simulated->Model().archive.size(), 1u);

  DWORD n = 0;
  ASSERT_EQ(backend->CreateDeviceInfoList(&n), FT_OK);
  FT_HANDLE h = nullptr;
  ASSERT_EQ(backend->Open(0, &h), FT_OK);
  const std::uint8_t frame[5] = {0xAA, 0x01, 0xFE, 0, 0};
  ASSERT_EQ(backend->Write(h, frame, 5, &n), FT_OK);
  char answer[21] = {};
  ASSERT_EQ(backend->Read(h, answer, 21, &n), FT_OK);
  EXPECT_EQ(std::string(answer + 11, 10), "09.06.2014");
}

struct BadSetting {
  const char* fixture;
  const char* faults;
  std::string problemStart;
};

class LinkSelectionProblems : public ::testing::TestWithParam<BadSetting> {};

TEST_P(LinkSelectionProblems, AreReportedAndLeftOut) {
  std::string problem;
  auto backend = ChooseLinkBackend("sim", GetParam().fixture, GetParam().faults, nullptr, {}, &problem);
  EXPECT_EQ(problem.rfind(GetParam().problemStart, 0), 0u) << problem;
  auto* simulated = dynamic_cast<sim::SimulatedBackend*>(backend.get());
  ASSERT_NE(simulated, nullptr);
  EXPECT_EQ(simulated->Model().archive.size(), 300u);  // the demo content
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LinkSelectionProblems,
    ::testing::Values(BadSetting{"/nonexistent/fixture.txt", nullptr, "RZ47_SIM_FIXTURE: cannot open"},
                      BadSetting{nullptr, "--unplug-after", "RZ47_SIM_FAULTS: --unplug-after needs"},
                      BadSetting{nullptr, "--explode", "RZ47_SIM_FAULTS: unknown option --explode"}));

struct SplitCase {
  std::string list;
  std::vector<std::string> ports;
};

class PortListSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(PortListSplitting, DropsEmptyEntries) { EXPECT_EQ(SplitPortList(GetParam().list), GetParam().ports); }

INSTANTIATE_TEST_SUITE_P(Lists, PortListSplitting,
                         ::testing::Values(SplitCase{"", {}}, SplitCase{"/dev/a", {"/dev/a"}},
                                           SplitCase{"/dev/a:/dev/b", {"/dev/a", "/dev/b"}},
                                           SplitCase{":/dev/a::/dev/b:", {"/dev/a", "/dev/b"}}));

}  // namespace
}  // namespace rz47
