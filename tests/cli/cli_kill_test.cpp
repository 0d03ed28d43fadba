// Killing rz47cli while it saves a large archive never leaves a broken file: the
// output is always either the old file or the complete new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "archive/archive_file.h"
#include "cli_run.h"
#include "temp_folder.h"

namespace rz47 {
namespace {

using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

constexpr int kRows = 150000;
constexpr int kKills = 20;

std::string LargeArchive() {
  GridData grid(8, kRows + 1);
  grid.BeginUpdate();
  for (int row = 1; row <= kRows; ++row) {
    const std::string number = std::to_string(row);
    const std::string speed = std::to_string(900 + (row * 7919) % 4000);
    grid.SetRow(row, {number, "10:00:00", "2/1/24", "1", number, "Concrete", "10.50", speed});
  }
  grid.EndUpdate();
  return EncodeGrid(grid);
}

TEST(CliKill, SortKilledAtRandomPointsLeavesTheOldOrTheNewFile) {
  TempFolder folder;
  const std::string in = folder / "in.rz4";
  const std::string out = folder / "out.rz4";
  const std::string reference = folder / "reference.rz4";
  WriteFileBytes(in, LargeArchive());
  GridData small(8, 2);
  small.SetCell(0, 1, "1");
  const std::string oldBytes = EncodeGrid(small);

  // One full run gives the new file and how long a run takes.
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(test::RunCli({"sort", in, "7", "desc", "-o", reference}).exitCode, 0);
  const auto fullRun = std::chrono::steady_clock::now() - started;
  const std::string newBytes = ReadFileBytes(reference);
  ASSERT_GT(newBytes.size(), 1000000u);

  std::random_device device;
  const unsigned seed = device();
  std::mt19937 random(seed);
  const auto spanMicros = std::chrono::duration_cast<std::chrono::microseconds>(fullRun).count() * 12 / 10;
  std::uniform_int_distribution<long long> killAt(0, spanMicros);
  int sawOld = 0, sawNew = 0;
  for (int i = 0; i < kKills; ++i) {
    WriteFileBytes(out, oldBytes);
    const long long delay = killAt(random);
    pid_t pid = test::StartCli({"sort", in, "7", "desc", "-o", out});
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    const std::string found = ReadFileBytes(out);
    ASSERT_TRUE(found == oldBytes || found == newBytes)
        << "seed " << seed << ", killed after " << delay << " us: " << found.size() << " bytes";
    (found == oldBytes ? sawOld : sawNew)++;
  }
  // Not an assertion: which outcome a kill meets depends on the machine's speed.
  std::cout << "kills: " << sawOld << " left the old file, " << sawNew << " the new one (seed " << seed << ")\n";
}

}  // namespace
}  // namespace rz47
