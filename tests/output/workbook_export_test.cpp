// Workbook export, read back by independent readers: sheet names and split,
// texts as strings, layout (fitted widths, centred cells), and the file handling
// (atomic replace, failures, cancel).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "output/workbook_export.h"
#include "platform/cp1251.h"
#include "sample_tables.h"
#include "table/columns.h"
#include "workbook_reader.h"

namespace rz47::testing {
namespace {

const std::string kPrefixRu = Cp("Архив измерений ");
const std::string kPrefixEn = "Archive of measurements ";

std::string Extension(WorkbookFormat format) { return format == WorkbookFormat::Xls ? ".xls" : ".xlsx"; }

std::string Slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The cells a sheet must hold: every non-empty table cell of its rows, as UTF-8
// strings, centred, at (row on the sheet, column).
std::vector<ReadCell> ExpectedCells(const GridData& grid, int firstRow, int rowCount) {
  std::vector<ReadCell> cells;
  for (int i = 0; i < rowCount; ++i) {
    for (int c = 0; c < grid.ColCount(); ++c) {
      std::string_view text = grid.Cell(c, firstRow + i);
      if (!text.empty()) cells.push_back({i, c, "s", true, Cp1251ToUtf8(text)});
    }
  }
  return cells;
}

// Compares cell lists, reporting the first difference only.
void ExpectSameCells(const std::vector<ReadCell>& expected, const std::vector<ReadCell>& actual,
                     const std::string& sheet) {
  for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
    const ReadCell& e = expected[i];
    const ReadCell& a = actual[i];
    if (e.row != a.row || e.col != a.col || e.type != a.type || e.centred != a.centred || e.value != a.value) {
      ADD_FAILURE() << sheet << ": cell " << i << " expected (" << e.row << "," << e.col << ") s centred '"
                    << e.value << "', read (" << a.row << "," << a.col << ") " << a.type
                    << (a.centred ? " centred" : " not centred") << " '" << a.value << "'";
      return;
    }
  }
  EXPECT_EQ(expected.size(), actual.size()) << sheet << ": number of cells";
}

class WorkbookExportTest : public ::testing::TestWithParam<WorkbookFormat> {
 protected:
  std::filesystem::path Target(const std::string& stem = "table") const {
    return folder_ / (stem + Extension(GetParam()));
  }
  TempFolder folder_;
};

TEST_P(WorkbookExportTest, WritesTheFormatTheNameAsksFor) {
  const GridData grid = MakeMeasurementGrid(3);
  ASSERT_EQ(ExportWorkbook(grid, kPrefixRu, Target()).status, ExportStatus::Ok);
  const std::string head = Slurp(Target()).substr(0, 4);
  EXPECT_EQ(head, GetParam() == WorkbookFormat::Xls ? std::string("\xD0\xCF\x11\xE0") : std::string("PK\x03\x04"));
}

struct LanguageCase {
  int lang;
  const char* sheetName;  // UTF-8
};

class WorkbookContentTest : public ::testing::TestWithParam<std::tuple<WorkbookFormat, LanguageCase>> {};

TEST_P(WorkbookContentTest, EveryCellIsItsTextAsAString) {
  const auto [format, language] = GetParam();
  GridData grid = MakeMeasurementGrid(20, language.lang);
  // Texts a converter or a trimming writer would get wrong.
  grid.SetCell(5, 2, Cp("  Бетон "));                 // blanks at both ends stay
  grid.SetCell(6, 3, "0,50");                          // a number stays a text
  grid.SetCell(7, 4, "007");                           // leading zeros stay
  grid.SetCell(5, 5, Cp("Ёлка ё № «x» €"));          // letters outside the basic range
  grid.SetCell(5, 6, "<a & b=\"c\">");                 // markup characters
  grid.SetCell(3, 7, "");                              // an empty cell stays empty
  grid.SetCell(5, 8, std::string(300, 'W'));           // a long text
  grid.SetCell(5, 9, Cp("табуляция\tвнутри"));
  TempFolder folder;
  const std::filesystem::path file = folder / (std::string("t") + Extension(format));
  const std::string prefix = language.lang == 0 ? kPrefixRu : kPrefixEn;
  ASSERT_EQ(ExportWorkbook(grid, prefix, file).status, ExportStatus::Ok);

  const std::vector<ReadSheet> sheets = ReadWorkbookCells(file);
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, language.sheetName);
  ExpectSameCells(ExpectedCells(grid, 0, grid.RowCount()), sheets[0].cells, sheets[0].name);
  // Row 1 of the sheet is the heading row of the language.
  ASSERT_GE(sheets[0].cells.size(), 8u);
  EXPECT_EQ(sheets[0].cells[1].value, Cp1251ToUtf8(Text(kColumns[1].heading, language.lang)));
}

TEST_P(WorkbookContentTest, ColumnsAreFittedAndCentredAcrossTheBlock) {
  const auto [format, language] = GetParam();
  GridData grid = MakeMeasurementGrid(5, language.lang);
  grid.SetCell(5, 3, std::string(60, 'x'));
  TempFolder folder;
  const std::filesystem::path file = folder / (std::string("t") + Extension(format));
  ASSERT_EQ(ExportWorkbook(grid, kPrefixEn, file).status, ExportStatus::Ok);

  const int blockCols = grid.ColCount() + 1;
  const std::vector<ReadColumns> sheets = ReadWorkbookColumns(file, blockCols);
  ASSERT_EQ(sheets.size(), 1u);
  const std::vector<ReadColumn>& cols = sheets[0].columns;
  ASSERT_EQ(cols.size(), static_cast<std::size_t>(blockCols));
  for (int c = 0; c < blockCols; ++c) {
    SCOPED_TRACE("column " + std::to_string(c));
    ASSERT_TRUE(cols[c].present);
    EXPECT_TRUE(cols[c].centred);
    std::size_t widest = 0;
    for (int r = 0; r < grid.RowCount(); ++r) widest = std::max(widest, Cp1251ToUtf16(grid.Cell(c, r)).size());
    if (widest == 0) {
      // The block's extra column keeps the spreadsheet's default width.
      EXPECT_NEAR(cols[c].width, 8.43, 0.75);
    } else {
      // Wide enough for the text at an average glyph, not absurdly wider.
      EXPECT_GE(cols[c].width, 0.75 * widest);
      EXPECT_LE(cols[c].width, 1.7 * widest + 2);
    }
  }
  // The record-number column is narrower than the long-text column.
  EXPECT_LT(cols[0].width, cols[5].width);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WorkbookContentTest,
    ::testing::Combine(::testing::Values(WorkbookFormat::Xlsx, WorkbookFormat::Xls),
                       ::testing::Values(LanguageCase{0, "Архив измерений 1"},
                                         LanguageCase{1, "Archive of measurements 1"})));

TEST_P(WorkbookExportTest, NineColumnsAreAllExported) {
  GridData grid = MakeMeasurementGrid(4);
  grid.SetColCount(9);
  for (int r = 0; r < grid.RowCount(); ++r) grid.SetCell(8, r, Cp("доп ").append(std::to_string(r)));
  ASSERT_EQ(ExportWorkbook(grid, kPrefixRu, Target()).status, ExportStatus::Ok);
  const std::vector<ReadSheet> sheets = ReadWorkbookCells(Target());
  ASSERT_EQ(sheets.size(), 1u);
  ExpectSameCells(ExpectedCells(grid, 0, grid.RowCount()), sheets[0].cells, sheets[0].name);
  const std::vector<ReadColumns> cols = ReadWorkbookColumns(Target(), 10);
  ASSERT_EQ(cols.size(), 1u);
  EXPECT_TRUE(cols[0].columns[9].present && cols[0].columns[9].centred);
}

TEST_P(WorkbookExportTest, TableOf65535RowsFillsOneSheet) {
  const GridData grid = MakeMeasurementGrid(65534);  // + heading row = 65535 rows
  ASSERT_EQ(ExportWorkbook(grid, kPrefixRu, Target()).status, ExportStatus::Ok);
  const std::vector<ReadSheet> sheets = ReadWorkbookSummary(Target());
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "Архив измерений 1");
  EXPECT_EQ(sheets[0].rows, 65535);
}

TEST_P(WorkbookExportTest, Row65536StartsTheSecondSheet) {
  const GridData grid = MakeMeasurementGrid(65535);  // + heading row = 65536 rows
  ASSERT_EQ(ExportWorkbook(grid, kPrefixEn, Target()).status, ExportStatus::Ok);
  const std::vector<ReadSheet> sheets = ReadWorkbookCells(Target());
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].name, "Archive of measurements 1");
  EXPECT_EQ(sheets[1].name, "Archive of measurements 2");
  ExpectSameCells(ExpectedCells(grid, 0, 65535), sheets[0].cells, sheets[0].name);
  // The last table row alone, in row 1 of the second sheet, without headings.
  ExpectSameCells(ExpectedCells(grid, 65535, 1), sheets[1].cells, sheets[1].name);
}

TEST_P(WorkbookExportTest, ReplacesAnExistingFileWhole) {
  { std::ofstream(Target()) << std::string(1 << 20, 'z'); }
  const GridData grid = MakeMeasurementGrid(2);
  ASSERT_EQ(ExportWorkbook(grid, kPrefixRu, Target()).status, ExportStatus::Ok);
  const std::vector<ReadSheet> sheets = ReadWorkbookCells(Target());
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].cells.size(), 24u);
  EXPECT_EQ(folder_.Files(), std::vector<std::string>{Target().filename().string()});
}

TEST_P(WorkbookExportTest, ReportsProgressUpToTheEnd) {
  const GridData grid = MakeMeasurementGrid(3000);
  std::vector<int> seen;
  ASSERT_EQ(ExportWorkbook(grid, kPrefixRu, Target(), [&](int p) { seen.push_back(p); return true; }).status,
            ExportStatus::Ok);
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 1000);
  EXPECT_GT(seen.size(), 10u);
}

// Failures and cancels leave no file and no temporary file behind, and an
// existing target untouched.
struct FailureCase {
  const char* name;
  bool cancel;        // the progress callback cancels
  int cellLength;     // a cell this long (characters) is more than a workbook cell holds
  bool missingFolder; // the target's folder does not exist
};

class WorkbookFailureTest : public ::testing::TestWithParam<std::tuple<WorkbookFormat, FailureCase>> {};

TEST_P(WorkbookFailureTest, LeavesNothingHalfWritten) {
  const auto [format, c] = GetParam();
  TempFolder folder;
  const std::filesystem::path target =
      c.missingFolder ? folder / "missing" / (std::string("t") + Extension(format)) : folder / (std::string("t") + Extension(format));
  if (!c.missingFolder) std::ofstream(target) << "old contents";
  GridData grid = MakeMeasurementGrid(5000);
  if (c.cellLength > 0) grid.SetCell(5, 4000, std::string(c.cellLength, 'a'));
  int calls = 0;
  const ExportResult result = ExportWorkbook(grid, kPrefixRu, target, [&](int) { return !(c.cancel && ++calls > 3); });

  EXPECT_EQ(result.status, c.cancel ? ExportStatus::Cancelled : ExportStatus::Failed);
  if (result.status == ExportStatus::Failed) {
    EXPECT_FALSE(result.detail.empty());
  }
  if (c.missingFolder) {
    EXPECT_FALSE(std::filesystem::exists(target.parent_path()));
  } else {
    EXPECT_EQ(folder.Files(), std::vector<std::string>{target.filename().string()});
    EXPECT_EQ(Slurp(target), "old contents");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WorkbookFailureTest,
    ::testing::Combine(::testing::Values(WorkbookFormat::Xlsx, WorkbookFormat::Xls),
                       ::testing::Values(FailureCase{"cancel", true, 0, false},
                                         FailureCase{"cell too long", false, 32768, false},
                                         FailureCase{"no folder", false, 0, true})),
    [](const auto& test) {
      std::string name = Extension(std::get<0>(test.param)).substr(1) + "_" + std::get<1>(test.param).name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

INSTANTIATE_TEST_SUITE_P(Formats, WorkbookExportTest, ::testing::Values(WorkbookFormat::Xlsx, WorkbookFormat::Xls),
                         [](const auto& test) { return Extension(test.param).substr(1); });

struct FormatNameCase {
  const char* name;
  WorkbookFormat format;
};

class WorkbookFormatNameTest : public ::testing::TestWithParam<FormatNameCase> {};

TEST_P(WorkbookFormatNameTest, FollowsTheEndOfTheName) {
  EXPECT_EQ(WorkbookFormatFor(GetParam().name), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Names, WorkbookFormatNameTest,
                         ::testing::Values(FormatNameCase{"a.xls", WorkbookFormat::Xls},
                                           FormatNameCase{"/tmp/A.XLS", WorkbookFormat::Xls},
                                           FormatNameCase{"a.xlsx.xls", WorkbookFormat::Xls},
                                           FormatNameCase{"a.xlsx", WorkbookFormat::Xlsx},
                                           FormatNameCase{"a.xls.xlsx", WorkbookFormat::Xlsx},
                                           FormatNameCase{"archive", WorkbookFormat::Xlsx},
                                           FormatNameCase{"xls", WorkbookFormat::Xlsx},
                                           FormatNameCase{"/tmp/a.xls/b", WorkbookFormat::Xlsx}));

}  // namespace
}  // namespace rz47::testing
