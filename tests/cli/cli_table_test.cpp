// rz47cli sort and copy, run end to end as a user would.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive_file.h"
#include "archive_bytes.h"
#include "case_name.h"
#include "cli_run.h"
#include "temp_folder.h"

namespace rz47 {
namespace {

using test::ArchiveBytes;
using test::CliRun;
using test::RunCli;
using test::TempFolder;

// Three measurements, written as the gauge read fills them under en_US settings.
std::string ThreeRows() {
  ArchiveBytes file;
  file.Int(8).Int(4);
  for (const auto& row : {std::vector<std::string>{"1", "10:00:00", "2/1/24", "1", "1", "Concrete", "10.50", "1500"},
                          std::vector<std::string>{"2", "11:00:00", "2/1/24", "1", "2", "Brick", "9.75", "4200"},
                          std::vector<std::string>{"3", "12:00:00", "2/1/24", "1", "3", "Wood", "12.00", "980"}}) {
    for (const std::string& cell : row) file.Cell(cell);
  }
  return file.str();
}

std::string RecordNumbers(const std::string& path) {
  GridData grid;
  if (!LoadGridFromFile(grid, path).ok) return "unreadable";
  std::string numbers;
  for (int row = 1; row < grid.RowCount(); ++row) numbers += std::string(grid.Cell(0, row));
  return numbers;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { test::WriteFileBytes(in, ThreeRows()); }
  TempFolder folder;
  std::string in = folder / "in.rz4";
  std::string out = folder / "out.rz4";
};

struct SortCase {
  const char* name;
  const char* column;
  const char* order;
  const char* numbers;  // record numbers in the sorted file
};

class CliSort : public CliTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(CliSort, WritesTheSortedTable) {
  CliRun run = RunCli({"sort", in, GetParam().column, GetParam().order, "-o", out});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(RecordNumbers(out), GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, CliSort,
    ::testing::Values(SortCase{"SpeedDescending", "7", "desc", "213"}, SortCase{"SpeedAscending", "7", "asc", "312"},
                      // Numeric, not text order: 9.75 before 10.50.
                      SortCase{"ThicknessAscending", "6", "asc", "213"},
                      SortCase{"MaterialAscending", "5", "asc", "213"},
                      SortCase{"NumberDescending", "0", "desc", "321"}),
    test::CaseName());

TEST_F(CliTest, SortOptionMayComeFirstAndReplacesAnExistingOutput) {
  test::WriteFileBytes(out, "old");
  CliRun run = RunCli({"sort", "-o", out, in, "7", "desc"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(RecordNumbers(out), "213");
}

struct ExitCase {
  const char* name;
  std::vector<std::string> args;  // "IN", "OUT", "BAD", "MISSING" stand for paths
  int exitCode;
};

class CliExit : public CliTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(CliExit, FailsWithItsCodeAMessageAndNoOutput) {
  test::WriteFileBytes(folder / "bad.rz4", ArchiveBytes().Int(8).Int(1000).Cell("1").str());
  test::WriteFileBytes(folder / "nokey.rz4", ArchiveBytes().Int(2).Int(3).Cell("1").Cell("").Cell("").Cell("x").str());
  std::vector<std::string> args;
  for (const std::string& arg : GetParam().args) {
    if (arg == "IN") args.push_back(in);
    else if (arg == "OUT") args.push_back(out);
    else if (arg == "BAD") args.push_back(folder / "bad.rz4");
    else if (arg == "NOKEY") args.push_back(folder / "nokey.rz4");
    else if (arg == "MISSING") args.push_back(folder / "missing.rz4");
    else if (arg == "NOFOLDER") args.push_back(folder / "gone/out.rz4");
    else args.push_back(arg);
  }
  CliRun run = RunCli(args);
  EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err, "");
  EXPECT_FALSE(std::filesystem::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliExit,
    ::testing::Values(ExitCase{"SortWithoutOutput", {"sort", "IN", "7", "desc"}, 1},
                      ExitCase{"SortColumnNotANumber", {"sort", "IN", "seven", "desc", "-o", "OUT"}, 1},
                      ExitCase{"SortNegativeColumn", {"sort", "IN", "-1", "desc", "-o", "OUT"}, 1},
                      ExitCase{"SortColumnOutsideTheTable", {"sort", "IN", "8", "desc", "-o", "OUT"}, 1},
                      ExitCase{"SortBadOrder", {"sort", "IN", "7", "down", "-o", "OUT"}, 1},
                      ExitCase{"SortMalformedArchive", {"sort", "BAD", "7", "desc", "-o", "OUT"}, 2},
                      ExitCase{"SortMissingArchive", {"sort", "MISSING", "7", "desc", "-o", "OUT"}, 2},
                      ExitCase{"SortCellWithoutAKey", {"sort", "NOKEY", "1", "asc", "-o", "OUT"}, 2},
                      ExitCase{"SortOutputCannotBeWritten", {"sort", "IN", "7", "desc", "-o", "NOFOLDER"}, 2},
                      ExitCase{"CopyWithoutInput", {"copy"}, 1},
                      ExitCase{"CopyBadBlock", {"copy", "IN", "--block", "1,2,3"}, 1},
                      ExitCase{"CopyBlockOutsideTheTable", {"copy", "IN", "--block", "0,0,8,1"}, 1},
                      ExitCase{"CopyMalformedArchive", {"copy", "BAD"}, 2},
                      ExitCase{"CopyMissingArchive", {"copy", "MISSING"}, 2}),
    test::CaseName());

TEST_F(CliTest, CopyWritesTheWholeTableAsUtf8WithCrLf) {
  CliRun run = RunCli({"--lang", "en", "copy", in});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "№\tTime\t\tDate\t\tSeries\tNumber\tMaterial\tThickness, mm\tSpeed Sound, m/s\r\n"
            "1\t10:00:00\t2/1/24\t1\t1\tConcrete\t10.50\t\t1500\t\t\r\n"
            "2\t11:00:00\t2/1/24\t1\t2\tBrick\t\t9.75\t\t4200\t\t\r\n"
            "3\t12:00:00\t2/1/24\t1\t3\tWood\t\t12.00\t\t980\t\t\r\n");
}

TEST_F(CliTest, CopyHeadingsFollowTheLanguage) {
  CliRun run = RunCli({"copy", in});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
            "№\tВремя\t\tДата\t\tСерия\tНомер\tМатериал\tТолщина, мм\tСкорость звука, м/с\r\n");
}

TEST_F(CliTest, CopyOfABlockTakesOnlyItsCells) {
  CliRun run = RunCli({"--lang", "en", "copy", in, "--block", "5,1,7,2"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Concrete\t10.50\t\t1500\t\t\r\nBrick\t\t9.75\t\t4200\t\t\r\n");
}

}  // namespace
}  // namespace rz47
