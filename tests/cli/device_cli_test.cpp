// rz47cli's device commands end to end: the program against rz47-gauge-sim on a real
// pseudo-terminal, through the serial backend (--port), as a script would run them.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "archive/archive_file.h"
#include "cli_run.h"
#include "link_gauge_sim_process.h"
#include "table/grid_data.h"

namespace rz47::test {
namespace {

namespace fs = std::filesystem;

std::string Materials13(const std::string& nameOfFirst, const std::string& speedOfFirst) {
  std::string file = "1\t" + nameOfFirst + "\t" + speedOfFirst + "\r\n";
  for (int j = 2; j <= 13; ++j) file += std::to_string(j) + "\tМатериал " + std::to_string(j) + "\t" + std::to_string(1000 + j) + "\n";
  return file;
}

class DeviceCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) c = c == '/' ? '_' : c;
    dir_ = fs::temp_directory_path() / ("rz47-device-cli-" + std::to_string(::getpid()) + "-" + name);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::string Write(const std::string& name, const std::string& contents) const {
    std::ofstream(Path(name), std::ios::binary) << contents;
    return Path(name);
  }

  static GridData Load(const std::string& path) {
    GridData grid;
    EXPECT_TRUE(LoadGridFromFile(grid, path).ok) << path;
    return grid;
  }

  // Runs rz47cli against the simulator started with `simOptions`.
  static CliRun WithGauge(const std::vector<std::string>& simOptions, std::vector<std::string> args) {
    rz47::testing::GaugeSimProcess sim(simOptions);
    EXPECT_FALSE(sim.Port().empty());
    args.insert(args.begin(), {"--quiet", "--port", sim.Port()});
    return RunCli(args);
  }

  fs::path dir_;
};

TEST_F(DeviceCliTest, ReadSavesTheArchiveAndAMergeOfTheSameArchiveAddsNothing) {
  const CliRun read = WithGauge({}, {"read", "-o", Path("a.rz4")});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  const GridData grid = Load(Path("a.rz4"));
  EXPECT_EQ(grid.RowCount(), 301);
  EXPECT_EQ(grid.CellString(0, 300), "300");
  const CliRun merged = WithGauge({}, {"read", "-o", Path("b.rz4"), "--merge", Path("a.rz4")});
  ASSERT_EQ(merged.exitCode, 0) << merged.err;
  EXPECT_EQ(Load(Path("b.rz4")).RowCount(), 301);
}

TEST_F(DeviceCliTest, ChecksumErrorIsReportedAndTheReadStartsAgain) {
  const CliRun run = WithGauge({"--bad-archive-crc", "5"}, {"read", "-o", Path("a.rz4")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("Ошибка контрольной суммы"), std::string::npos) << run.err;
  EXPECT_EQ(Load(Path("a.rz4")).RowCount(), 301);
}

TEST_F(DeviceCliTest, EmptyArchiveSaysNoDataAndSavesTheTable) {
  const std::string fixture = Write("empty.txt", "# no records\nfirmware\t21.04.2015\n");
  const CliRun run = WithGauge({"--fixture", fixture}, {"--lang", "en", "read", "-o", Path("a.rz4")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("No Data"), std::string::npos) << run.err;
  const GridData grid = Load(Path("a.rz4"));
  EXPECT_EQ(grid.RowCount(), 10);  // the start table plus one row
  EXPECT_TRUE(grid.IsEmpty());
}

TEST_F(DeviceCliTest, WriteMaterialsReachesTheGauge) {
  rz47::testing::GaugeSimProcess sim({});
  ASSERT_FALSE(sim.Port().empty());
  const std::string file = Write("m.txt", Materials13("Бетон М400", "4100"));
  const CliRun write = RunCli({"--quiet", "--port", sim.Port(), "write-materials", file});
  ASSERT_EQ(write.exitCode, 0) << write.err;
  const CliRun read = RunCli({"--quiet", "--port", sim.Port(), "materials"});
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out.substr(0, read.out.find('\n')), "1\tБетон М400\t4100");
  EXPECT_NE(read.out.find("13\tМатериал 13\t1013\n"), std::string::npos) << read.out;
}

struct RefusedFile {
  const char* name;
  std::string contents;
  const char* message;
};

class RefusedMaterialsFile : public DeviceCliTest, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RefusedMaterialsFile, NothingIsSentAndTheExitCodeIs2) {
  rz47::testing::GaugeSimProcess sim({});
  ASSERT_FALSE(sim.Port().empty());
  const std::string file = Write("m.txt", GetParam().contents);
  const CliRun write = RunCli({"--quiet", "--port", sim.Port(), "write-materials", file});
  EXPECT_EQ(write.exitCode, 2) << GetParam().name;
  EXPECT_NE(write.err.find(GetParam().message), std::string::npos) << write.err;
  const CliRun read = RunCli({"--quiet", "--port", sim.Port(), "materials"});
  EXPECT_EQ(read.out.substr(0, read.out.find('\n')), "1\tБетон\t4000") << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedMaterialsFile,
    ::testing::Values(RefusedFile{"speed beyond 16 bits", Materials13("x", "70000"), "Строка 1"},
                    RefusedFile{"empty speed", Materials13("x", ""), "Строка 1"},
                    RefusedFile{"twelve lines", "1\ta\t1\n2\tb\t2\n3\tc\t3\n4\td\t4\n5\te\t5\n6\tf\t6\n"
                                                "7\tg\t7\n8\th\t8\n9\ti\t9\n10\tj\t10\n11\tk\t11\n12\tl\t12\n",
                                "13 lines"}));

struct FailureCase {
  const char* name;
  std::vector<std::string> simOptions;
  const char* message;
};

class DeviceFailure : public DeviceCliTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DeviceFailure, TimeOutEndsWithTheLastStatusAndExitCode3) {
  const CliRun run = WithGauge(GetParam().simOptions, {"--timeout", "1", "read", "-o", Path("a.rz4")});
  EXPECT_EQ(run.exitCode, 3) << GetParam().name;
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(Path("a.rz4")));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DeviceFailure,
    ::testing::Values(FailureCase{"outdated firmware", {"--old-firmware"}, "Версия прошивки устарела"},
                    FailureCase{"unplugged during the read", {"--unplug-after", "20"}, "Проверьте подключение"},
                    FailureCase{"no answer at all", {"--silent"}, "did not end within 1 s"}));

TEST_F(DeviceCliTest, NoGaugeAtTheNamedPortTimesOut) {
  const CliRun run = RunCli({"--quiet", "--timeout", "1", "--port", Path("missing"), "screenshot", "-o", Path("s.bmp")});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("Проверьте подключение"), std::string::npos) << run.err;
}

TEST_F(DeviceCliTest, InterruptCancelsTheJobWithExitCode130) {
  rz47::testing::GaugeSimProcess sim({"--silent"});
  ASSERT_FALSE(sim.Port().empty());
  const pid_t cli = StartCli({"--quiet", "--port", sim.Port(), "read", "-o", Path("a.rz4")});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let it reach the gauge
  ::kill(cli, SIGINT);
  int status = 0;
  ::waitpid(cli, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_FALSE(fs::exists(Path("a.rz4")));
}

TEST_F(DeviceCliTest, ScreenshotIsAFramedBitmapInTheGivenColours) {
  const CliRun run = WithGauge({}, {"screenshot", "-o", Path("s.bmp"), "--ink", "#FF0000", "--paper", "#00FF00"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::ifstream in(Path("s.bmp"), std::ios::binary);
  const std::string bmp((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  auto le32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8;
  };
  EXPECT_EQ(le32(18), 132u);
  EXPECT_EQ(le32(22), 68u);
  // Bottom-up rows: the first pixel stored is (0, 67), on the frame: ink, as B, G, R.
  const std::size_t first = le32(10);
  EXPECT_EQ(bmp.substr(first, 3), std::string("\x00\x00\xFF", 3));
  // Pixel (1, 66) lies in the margin inside the frame: paper.
  const std::size_t stride = 396;
  EXPECT_EQ(bmp.substr(first + stride + 3, 3), std::string("\x00\xFF\x00", 3));
}

struct UsageCase {
  std::vector<std::string> args;
};

class DeviceUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(DeviceUsage, BadArgumentsExitWith1) {
  const CliRun run = RunCli(GetParam().args);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("usage"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Args, DeviceUsage,
                         ::testing::Values(UsageCase{{"read"}}, UsageCase{{"read", "-o"}},
                                         UsageCase{{"read", "-o", "a.rz4", "extra"}},
                                         UsageCase{{"screenshot", "-o", "s.bmp", "--ink", "red"}},
                                         UsageCase{{"write-materials"}}, UsageCase{{"materials", "x"}},
                                         UsageCase{{"devices", "x"}}));

}  // namespace
}  // namespace rz47::test
