// The ".rz4" layout, read and write, and what a damaged file must not do to the table.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive_bytes.h"
#include "grid_snapshot.h"
#include "case_name.h"
#include "temp_folder.h"

namespace rz47 {
namespace {

using test::ArchiveBytes;
using test::Snapshot;
using test::TempFolder;

// Bytes in Windows-1251: "Бетон".
const std::string kBeton = "\xC1\xE5\xF2\xEE\xED";

GridData TableWithThreeRows() {
  GridData grid(8, 4);
  const char* numbers[] = {"1", "2", "3"};
  for (int row = 1; row <= 3; ++row) {
    grid.SetCell(0, row, numbers[row - 1]);
    grid.SetCell(5, row, kBeton);
    grid.SetCell(7, row, "1500");
  }
  return grid;
}

TEST(ArchiveLayout, ThreeRowsOfThirtyBytesMakeTheDocumentedFile) {
  GridData grid = TableWithThreeRows();
  ArchiveBytes expected;
  expected.Int(8).Int(4);
  for (const char* number : {"1", "2", "3"}) {
    expected.Cell(number).Cell("").Cell("").Cell("").Cell("").Cell(kBeton).Cell("").Cell("1500");
  }
  const std::string bytes = EncodeGrid(grid);
  EXPECT_EQ(bytes.size(), 134u);  // 8 + 24 x 4 + 30
  EXPECT_EQ(bytes, expected.str());
  // The opening bytes as the format describes them: counts, then cell (0, 1) = "1".
  EXPECT_EQ(bytes.substr(0, 13), std::string("\x08\0\0\0\x04\0\0\0\x01\0\0\0\x31", 13));
}

TEST(ArchiveLayout, EmptyCellIsFourZeroBytesAndReadsBackEmpty) {
  GridData grid(1, 2);
  EXPECT_EQ(EncodeGrid(grid), ArchiveBytes().Int(1).Int(2).Int(0).str());
  GridData loaded(8, 9);
  loaded.SetCell(0, 1, "old");
  ASSERT_TRUE(DecodeGrid(ArchiveBytes().Int(1).Int(2).Int(0).str(), loaded, "x").ok);
  EXPECT_EQ(loaded.ColCount(), 1);
  EXPECT_EQ(loaded.RowCount(), 2);
  EXPECT_EQ(loaded.Cell(0, 1), "");
}

TEST(ArchiveLayout, ReadingGivesExactlyTheFilesCellsAndKeepsTheHeadingRow) {
  GridData grid(8, 20);
  for (int row = 0; row < 20; ++row) {
    for (int col = 0; col < 8; ++col) grid.SetCell(col, row, "old " + std::to_string(col));
  }
  const std::string bytes = EncodeGrid(TableWithThreeRows());
  ASSERT_TRUE(DecodeGrid(bytes, grid, "x").ok);
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(Snapshot(grid).DataRows(), Snapshot(TableWithThreeRows()).DataRows());
  // The heading row is not in the file; writing it is the caller's business.
  EXPECT_EQ(Snapshot(grid).cells[0],
            (std::vector<std::string>{"old 0", "old 1", "old 2", "old 3", "old 4", "old 5", "old 6", "old 7"}));
}

TEST(ArchiveLayout, ZeroByteEndsTheCellButNotTheRecord) {
  const std::string bytes =
      ArchiveBytes().Int(3).Int(2).Cell(std::string("ab\0cd", 5)).Cell(std::string("\0x", 2)).Cell("next").str();
  GridData grid;
  ASSERT_TRUE(DecodeGrid(bytes, grid, "x").ok);
  EXPECT_EQ(grid.Cell(0, 1), "ab");
  EXPECT_EQ(grid.Cell(1, 1), "");
  EXPECT_EQ(grid.Cell(2, 1), "next");
}

TEST(ArchiveLayout, NineColumnsGiveANinthColumnOfDefaultWidth) {
  ArchiveBytes file;
  file.Int(9).Int(3);
  for (int row = 1; row <= 2; ++row) {
    for (int col = 0; col < 9; ++col) file.Cell(col == 8 ? "extra" + std::to_string(row) : std::string());
  }
  GridData grid(8, 9);
  grid.SetColWidth(7, 184);
  ASSERT_TRUE(DecodeGrid(file.str(), grid, "x").ok);
  EXPECT_EQ(grid.ColCount(), 9);
  EXPECT_EQ(grid.ColWidth(8), kDefaultColWidth);
  EXPECT_EQ(grid.ColWidth(7), 184);
  EXPECT_EQ(grid.Cell(8, 1), "extra1");
  EXPECT_EQ(grid.Cell(8, 2), "extra2");
  EXPECT_EQ(EncodeGrid(grid), file.str());
}

TEST(ArchiveFile, EveryByteValueSurvivesTheFileRoundTrip) {
  std::string allBytes;
  for (int value = 1; value <= 255; ++value) allBytes.push_back(static_cast<char>(value));
  GridData grid(8, 3);
  grid.SetCell(0, 1, "1");
  grid.SetCell(5, 1, allBytes);
  grid.SetCell(7, 2, allBytes.substr(100));
  TempFolder folder;
  ASSERT_TRUE(SaveGridToFile(grid, folder / "all.rz4").ok);
  GridData loaded;
  ASSERT_TRUE(LoadGridFromFile(loaded, folder / "all.rz4").ok);
  EXPECT_EQ(loaded.Cell(5, 1), allBytes);
  EXPECT_EQ(loaded.Cell(7, 2), allBytes.substr(100));
  EXPECT_EQ(Snapshot(loaded).DataRows(), Snapshot(grid).DataRows());
}

TEST(ArchiveFile, ATableOfManyMegabytesRoundTrips) {
  // Larger than one written piece and than the size read into mapped memory.
  GridData grid(8, 60001);
  grid.BeginUpdate();
  for (int row = 1; row < grid.RowCount(); ++row) {
    const std::string number = std::to_string(row);
    grid.SetRow(row, {number, "10:00:00", "01.02.2024", "1", number, kBeton, std::string(row % 90, 'x'), "1500"});
  }
  grid.EndUpdate();
  TempFolder folder;
  ASSERT_TRUE(SaveGridToFile(grid, folder / "big.rz4").ok);
  const std::string bytes = test::ReadFileBytes(folder / "big.rz4");
  EXPECT_GT(bytes.size(), 5u << 20);
  EXPECT_EQ(bytes, EncodeGrid(grid));
  GridData loaded;
  ASSERT_TRUE(LoadGridFromFile(loaded, folder / "big.rz4").ok);
  EXPECT_EQ(Snapshot(loaded).DataRows(), Snapshot(grid).DataRows());
}

TEST(ArchiveFile, SaveReplacesAnExistingFileWhole) {
  TempFolder folder;
  test::WriteFileBytes(folder / "a.rz4", std::string(5000, 'x'));
  GridData grid = TableWithThreeRows();
  ASSERT_TRUE(SaveGridToFile(grid, folder / "a.rz4").ok);
  EXPECT_EQ(test::ReadFileBytes(folder / "a.rz4"), EncodeGrid(grid));
  EXPECT_EQ(folder.Names(), std::set<std::string>{"a.rz4"});
}

TEST(ArchiveFile, MissingFileOrFolderIsReportedAndChangesNothing) {
  TempFolder folder;
  for (const std::string& path : {folder / "missing.rz4", folder.path()}) {
    GridData grid = TableWithThreeRows();
    const Snapshot before(grid);
    FileResult result = LoadGridFromFile(grid, path);
    EXPECT_FALSE(result.ok) << path;
    EXPECT_NE(result.message.find(path), std::string::npos) << result.message;
    EXPECT_EQ(Snapshot(grid), before);
  }
}

// --- Damaged files: each must be refused and leave the table exactly as it was. ---

struct DamagedCase {
  const char* name;
  std::string bytes;
};

std::string ValidTwoByTwo() {
  return ArchiveBytes().Int(2).Int(3).Cell("ab").Cell("").Cell("c").Cell("def").str();
}

std::vector<DamagedCase> DamagedCases() {
  return {
      {"EmptyFile", ""},
      {"HalfAColumnCount", std::string("\x02\0", 2)},
      {"NoRowCount", ArchiveBytes().Int(2).str()},
      {"SevenBytes", ArchiveBytes().Int(2).str() + std::string(3, '\0')},
      {"ZeroColumns", ArchiveBytes().Int(0).Int(2).str()},
      {"NegativeColumns", ArchiveBytes().Int(-8).Int(2).Cell("1").str()},
      {"MinimumColumns", ArchiveBytes().Int(INT_MIN).Int(2).str()},
      {"ZeroRows", ArchiveBytes().Int(8).Int(0).str()},
      {"OnlyTheHeadingRow", ArchiveBytes().Int(8).Int(1).str()},
      {"NegativeRows", ArchiveBytes().Int(8).Int(-3).Cell("1").str()},
      {"HugeColumnCount", ArchiveBytes().Int(INT_MAX).Int(2).Cell("1").str()},
      {"HugeRowCount", ArchiveBytes().Int(1).Int(INT_MAX).Cell("1").str()},
      {"BothCountsHuge", ArchiveBytes().Int(INT_MAX).Int(INT_MAX).str()},
      // 65536 x 65536 wraps to 0 in 32 bits; the size check must not be fooled.
      {"ProductWrapsIn32Bits", ArchiveBytes().Int(65536).Int(65537).str()},
      {"OneCellTooFewRecords", ArchiveBytes().Int(2).Int(3).Cell("ab").Cell("").Cell("c").str()},
      {"CountsTheSizeCannotHold", ArchiveBytes().Int(8).Int(1000).Cell("1").Cell("2").str() + std::string(64, '\0')},
      {"NegativeLength", ArchiveBytes().Int(2).Int(2).Int(-1).Cell("x").str() + std::string(8, '\0')},
      {"MinimumLength", ArchiveBytes().Int(1).Int(2).Int(INT_MIN).str() + std::string(8, '\0')},
      {"LengthPastTheEnd", ArchiveBytes().Int(1).Int(2).Int(10).Raw("short").str()},
      {"HugeLength", ArchiveBytes().Int(1).Int(2).Int(INT_MAX).Raw("text").str()},
      {"LastLengthCutInHalf", ArchiveBytes().Int(2).Int(2).Cell("a").str() + std::string("\x01\0", 2)},
      {"TextFileInstead", "Thickness;Speed\r\n12,5;1500\r\n"},
  };
}

class DamagedFile : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedFile, IsRefusedAndTheTableIsUnchanged) {
  GridData grid = TableWithThreeRows();
  grid.SetCell(2, 0, "heading");
  grid.SetColWidth(6, 126);
  grid.SetSelection({2, 1, 3, 2});
  const Snapshot before(grid);
  FileResult result = DecodeGrid(GetParam().bytes, grid, "/data/bad.rz4");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("/data/bad.rz4"), std::string::npos) << result.message;
  EXPECT_EQ(Snapshot(grid), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFile, ::testing::ValuesIn(DamagedCases()),
                         test::CaseName());

// Every strict prefix of a sound file is a truncated file.
class TruncatedFile : public ::testing::TestWithParam<int> {};

TEST_P(TruncatedFile, IsRefusedAndTheTableIsUnchanged) {
  const std::string valid = ValidTwoByTwo();
  GridData grid = TableWithThreeRows();
  const Snapshot before(grid);
  EXPECT_FALSE(DecodeGrid(valid.substr(0, GetParam()), grid, "x").ok);
  EXPECT_EQ(Snapshot(grid), before);
}

INSTANTIATE_TEST_SUITE_P(EachLength, TruncatedFile,
                         ::testing::Range(0, static_cast<int>(ValidTwoByTwo().size())));

TEST(TruncatedFile, TheWholeFileIsSound) {
  GridData grid;
  ASSERT_TRUE(DecodeGrid(ValidTwoByTwo(), grid, "x").ok);
  EXPECT_EQ(grid.Cell(1, 2), "def");
}

}  // namespace
}  // namespace rz47
