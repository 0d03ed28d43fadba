// The report's text: padded heading and body lines, trimming, run-on cells, the
// body-line counter across passes, the title with the regional formats.
#include <gtest/gtest.h>

#include "output/report_lines.h"
#include "platform/cp1251.h"
#include "sample_tables.h"
#include "table/columns.h"

namespace rz47::testing {
namespace {

std::string Blanks(int n) { return std::string(n, ' '); }

TEST(ReportLineTest, HeadingLinesPadEveryHeadingButTheLast) {
  GridData grid(8, 2);
  WriteHeadings(grid, 0);
  EXPECT_EQ(Cp1251ToUtf8(BuildReportLine(grid, 0)),
            "№" + Blanks(9) + "Время" + Blanks(5) + "Дата" + Blanks(11) + "Серия" + Blanks(10) + "Номер" +
                Blanks(10) + "Материал" + Blanks(7) + "Толщина, мм" + Blanks(4) + "Скорость звука, м/с");
  WriteHeadings(grid, 1);
  EXPECT_EQ(BuildReportLine(grid, 0), Cp("№") + Blanks(9) + "Time" + Blanks(6) + "Date" + Blanks(11) + "Series" +
                                          Blanks(9) + "Number" + Blanks(9) + "Material" + Blanks(7) +
                                          "Thickness, mm" + Blanks(2) + "Speed Sound, m/s");
}

struct CellCase {
  const char* name;
  std::vector<std::string> cells;  // UTF-8, columns 0..
  std::string line;                // UTF-8
};

class ReportCellTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(ReportCellTest, CellsAreTrimmedThenPadded) {
  GridData grid(static_cast<int>(GetParam().cells.size()), 2);
  for (std::size_t c = 0; c < GetParam().cells.size(); ++c) {
    grid.SetCell(static_cast<int>(c), 1, Cp(GetParam().cells[c].c_str()));
  }
  EXPECT_EQ(Cp1251ToUtf8(BuildReportLine(grid, 1)), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportCellTest,
    ::testing::Values(
        CellCase{"trailing_blank", {"1", "", "", "", "", "Бетон "}, "1" + Blanks(9 + 10 + 15 * 3) + "Бетон" + Blanks(10)},
        CellCase{"control_characters", {"\t 7\r\n", "\x01x\x1f"}, "7" + Blanks(9) + "x" + Blanks(9)},
        CellCase{"inner_blanks_stay", {" a  b "}, "a  b" + Blanks(6)},
        CellCase{"exactly_the_width", {"0123456789", "x"}, "0123456789x" + Blanks(9)},
        CellCase{"longer_runs_on", {"01234567890123", "next"}, "01234567890123next" + Blanks(6)},
        CellCase{"empty_row", {"", "", ""}, Blanks(10 + 10 + 15)},
        CellCase{"tenth_column_and_past", {"", "", "", "", "", "", "", "", "", "x", "y"},
                 Blanks(10 + 10 + 15 * 6 + 13) + "x" + Blanks(26) + "y" + Blanks(kReportExtraColumnWidth - 1)}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ReportLineTest, OneLinePerTableRow) {
  const GridData grid = MakeMeasurementGrid(5);
  const ReportLines lines = BuildReportLines(grid);
  ASSERT_EQ(lines.Count(), 6);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(lines.Line(r), BuildReportLine(grid, r));
  EXPECT_EQ(lines.Line(3).substr(0, 10), "3" + Blanks(9));
  EXPECT_EQ(lines.Line(5).size(), 110u);
}

TEST(ReportBodyLinesTest, FirstBodyLineIsBlankAndPassesRepeat) {
  ReportBodyLines body({"heading", "row 1", "row 2", "row 3"});
  EXPECT_EQ(body.HeadingLine(), "heading");
  EXPECT_EQ(body.BuiltLineCount(), 4);
  const std::vector<std::string> pass{"", "row 1", "row 2", "row 3"};
  for (int repeat = 0; repeat < 3; ++repeat) {
    std::vector<std::string> printed;
    for (int i = 0; i < body.BuiltLineCount(); ++i) printed.push_back(body.NextBodyLine());
    EXPECT_EQ(printed, pass) << "pass " << repeat;
  }
  EXPECT_EQ(body.HeadingLine(), "heading");
}

TEST(ReportBodyLinesTest, HeadingOnlyTablePrintsOneBlankLine) {
  ReportBodyLines body({"heading"});
  EXPECT_EQ(body.BuiltLineCount(), 1);
  EXPECT_EQ(body.NextBodyLine(), "");
  EXPECT_EQ(body.NextBodyLine(), "");
}

struct TitleCase {
  const char* name;
  FormatSettings fs;
  LocalMoment moment;
  const char* title;  // after the prefix
};

class ReportTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ReportTitleTest, DateThenTimeInTheRegionalFormats) {
  EXPECT_EQ(ReportTitle(Cp("Архив измерений "), GetParam().moment, GetParam().fs),
            Cp("Архив измерений ") + GetParam().title);
}

const FormatSettings kRussian = MakeFormatSettings("dd.MM.yyyy", ',', "hh:mm:ss");
const FormatSettings kUs = MakeFormatSettings("M/d/yy", '.', "h:mm:ss AP");

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportTitleTest,
    ::testing::Values(TitleCase{"russian", kRussian, {{2024, 3, 9}, {14, 5, 7}, 0}, "09.03.2024 14:05:07"},
                      TitleCase{"us", kUs, {{2024, 3, 9}, {14, 5, 7}, 0}, "3/9/24 2:05:07 PM"},
                      TitleCase{"midnight", kRussian, {{2024, 12, 31}, {0, 0, 0}, 0}, "31.12.2024"},
                      TitleCase{"just_after_midnight", kRussian, {{2024, 12, 31}, {0, 0, 0}, 1}, "31.12.2024 00:00:00"},
                      TitleCase{"one_second_past", kRussian, {{2024, 1, 1}, {0, 0, 1}, 0}, "01.01.2024 00:00:01"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace rz47::testing
