// The printed report rendered to PDF and read back with poppler: title, heading and
// body lines with their padding, the blank first body line, page numbers and page
// count, repeated passes, and a file that cannot be written.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "output/qt/quick_report6.h"
#include "platform/cp1251.h"
#include "platform/format_settings.h"
#include "sample_tables.h"
#include "table/columns.h"
#include "pdf_words.h"
#include "workbook_reader.h"

namespace rz47::testing {
namespace {

constexpr double kMargin = 10.0 * kPointsPerMm;
const LocalMoment kMoment{{2024, 3, 9}, {14, 5, 7}, 0};

std::string Blanks(int n) { return std::string(n, ' '); }

const std::string kHeadingRu = "№" + Blanks(9) + "Время" + Blanks(5) + "Дата" + Blanks(11) + "Серия" + Blanks(10) +
                               "Номер" + Blanks(10) + "Материал" + Blanks(7) + "Толщина, мм" + Blanks(4) +
                               "Скорость звука, м/с";
const std::string kHeadingEn = "№" + Blanks(9) + "Time" + Blanks(6) + "Date" + Blanks(11) + "Series" + Blanks(9) +
                               "Number" + Blanks(9) + "Material" + Blanks(7) + "Thickness, mm" + Blanks(2) +
                               "Speed Sound, m/s";

class ReportPdfTest : public ::testing::Test {
 protected:
  void SetUp() override { SetFormatSettings(MakeFormatSettings("dd.MM.yyyy", ',', "hh:mm:ss")); }

  std::vector<PdfPage> Render(const GridData& grid, int lang) {
    TQuickReport6 report(grid, Cp(lang == 0 ? "Архив измерений " : "Archive of measurements "), lang, kMoment);
    const std::filesystem::path file = folder_ / "report.pdf";
    EXPECT_TRUE(report.PrintToPdf(QString::fromStdString(file.string())));
    return ReadPdfPages(file);
  }

  // The character advance and left edge, taken from the heading line: "№" at
  // column 0 and the second heading at column 10.
  static std::pair<double, double> Columns(const PdfLine& heading) {
    const double x0 = heading.words.at(0).x;
    return {x0, (heading.words.at(1).x - x0) / 10.0};
  }

  TempFolder folder_;
};

TEST_F(ReportPdfTest, PageHeaderBodyAndFooterInRussian) {
  GridData grid = MakeMeasurementGrid(3, 0);
  grid.SetCell(5, 2, Cp(" Бетон "));
  grid.SetCell(5, 3, Cp("ОченьДлинноеНазвание"));  // 20 letters in a 15-wide column
  const std::vector<PdfPage> pages = Render(grid, 0);
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<PdfLine>& lines = pages[0].lines;
  // Title, heading line, rows 1..3, page number.
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].Words(), "Архив измерений 09.03.2024 14:05:07");
  EXPECT_NEAR(lines[0].words[0].x, kMargin + 64.35 * kPointsPerMm, 1.0);

  const auto [x0, advance] = Columns(lines[1]);
  EXPECT_NEAR(x0, kMargin, 1.0);
  EXPECT_EQ(lines[1].Monospaced(x0, advance), kHeadingRu);
  EXPECT_EQ(lines[2].Monospaced(x0, advance),
            "1" + Blanks(9) + "00:00:00" + Blanks(2) + "01.01.2014" + Blanks(5) + "1" + Blanks(14) + "1" +
                Blanks(14) + "Бетон" + Blanks(10) + "20,00" + Blanks(10) + "4200");
  EXPECT_EQ(lines[3].Monospaced(x0, advance),
            "2" + Blanks(9) + "00:00:37" + Blanks(2) + "02.01.2014" + Blanks(5) + "1" + Blanks(14) + "2" +
                Blanks(14) + "Бетон" + Blanks(10) + "21,07" + Blanks(10) + "3501");
  EXPECT_EQ(lines[4].Monospaced(x0, advance),
            "3" + Blanks(9) + "00:01:14" + Blanks(2) + "03.01.2014" + Blanks(5) + "1" + Blanks(14) + "3" +
                Blanks(14) + "ОченьДлинноеНазвание22,14" + Blanks(10) + "2102");
  // The first body band is blank: row 1 sits two bands below the header.
  EXPECT_NEAR(lines[2].y - lines[1].y, (8.47 - 5.08 + 3.81) * kPointsPerMm, 0.5);
  EXPECT_NEAR(lines[3].y - lines[2].y, 3.81 * kPointsPerMm, 0.5);
  EXPECT_EQ(lines[5].Words(), "1");
  EXPECT_NEAR(lines[5].y, 297.0 * kPointsPerMm - kMargin - (8.47 - 3.39) * kPointsPerMm, 2.0);
}

TEST_F(ReportPdfTest, EnglishTitleAndHeadingLine) {
  const std::vector<PdfPage> pages = Render(MakeMeasurementGrid(1, 1), 1);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_GE(pages[0].lines.size(), 3u);
  EXPECT_EQ(pages[0].lines[0].Words(), "Archive of measurements 09.03.2024 14:05:07");
  const auto [x0, advance] = Columns(pages[0].lines[1]);
  EXPECT_EQ(pages[0].lines[1].Monospaced(x0, advance), kHeadingEn);
  EXPECT_NE(pages[0].lines[2].Words().find("Concrete"), std::string::npos);
}

TEST_F(ReportPdfTest, HeadingOnlyTablePrintsOnePage) {
  GridData grid(8, 1);
  WriteHeadings(grid, 0);
  const std::vector<PdfPage> pages = Render(grid, 0);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].lines.size(), 3u);  // title, heading line, page number
  EXPECT_EQ(pages[0].lines[2].Words(), "1");
}

TEST_F(ReportPdfTest, LongTableRunsOverPagesInOrder) {
  // 1,600 rows give 1,601 body lines; 68 fit between header and footer on a page.
  const GridData grid = MakeMeasurementGrid(1600, 0);
  const std::vector<PdfPage> pages = Render(grid, 0);
  ASSERT_EQ(pages.size(), 24u);
  int next = 1;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    SCOPED_TRACE("page " + std::to_string(p + 1));
    const std::vector<PdfLine>& lines = pages[p].lines;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0].Words(), "Архив измерений 09.03.2024 14:05:07");
    const auto [x0, advance] = Columns(lines[1]);
    EXPECT_EQ(lines[1].Monospaced(x0, advance), kHeadingRu);
    EXPECT_EQ(lines.back().Words(), std::to_string(p + 1));
    // Page 1 loses its first band to the blank line; the others start with a row.
    const double firstBand = lines[1].y + (8.47 - 5.08 + (p == 0 ? 3.81 : 0.0)) * kPointsPerMm;
    EXPECT_NEAR(lines[2].y, firstBand, 0.5);
    for (std::size_t i = 2; i + 1 < lines.size(); ++i, ++next) {
      ASSERT_EQ(lines[i].words.at(0).text, std::to_string(next));
    }
    EXPECT_EQ(lines.size() - 3, p == 0 ? 67u : p + 1 < pages.size() ? 68u : 1601u - 68u * 23u);
  }
  EXPECT_EQ(next, 1601);
}

TEST_F(ReportPdfTest, SecondPassShowsTheSamePages) {
  const GridData grid = MakeMeasurementGrid(100, 0);
  TQuickReport6 report(grid, Cp("Архив измерений "), 0, kMoment);
  const std::filesystem::path first = folder_ / "1.pdf";
  const std::filesystem::path second = folder_ / "2.pdf";
  ASSERT_TRUE(report.PrintToPdf(QString::fromStdString(first.string())));
  ASSERT_TRUE(report.PrintToPdf(QString::fromStdString(second.string())));
  const std::vector<PdfPage> a = ReadPdfPages(first);
  const std::vector<PdfPage> b = ReadPdfPages(second);
  ASSERT_EQ(a.size(), 2u);
  ASSERT_EQ(b.size(), a.size());
  for (std::size_t p = 0; p < a.size(); ++p) {
    ASSERT_EQ(a[p].lines.size(), b[p].lines.size());
    for (std::size_t i = 0; i < a[p].lines.size(); ++i) EXPECT_EQ(a[p].lines[i].Words(), b[p].lines[i].Words());
  }
  EXPECT_EQ(a[0].lines[2].words.at(0).text, "1");
}

TEST_F(ReportPdfTest, UnwritableFileFailsAndLeavesNothing) {
  TQuickReport6 report(MakeMeasurementGrid(2, 0), Cp("Архив измерений "), 0, kMoment);
  EXPECT_FALSE(report.PrintToPdf(QString::fromStdString((folder_ / "missing" / "r.pdf").string())));
  EXPECT_TRUE(folder_.Files().empty());
}

TEST(ReportTitleTextTest, PreviewCaptionAndTitleLabel) {
  SetFormatSettings(MakeFormatSettings("dd.MM.yyyy", ',', "hh:mm:ss"));
  const GridData grid = MakeMeasurementGrid(1, 0);
  TQuickReport6 ru(grid, Cp("Архив измерений "), 0, {{2024, 3, 9}, {0, 0, 0}, 0});
  EXPECT_EQ(ru.ReportTitle(), QStringLiteral("Предпросмотр печати"));
  EXPECT_EQ(ru.TitleCaption(), QStringLiteral("Архив измерений 09.03.2024"));
  TQuickReport6 en(grid, Cp("Archive of measurements "), 1, kMoment);
  EXPECT_EQ(en.ReportTitle(), QStringLiteral("Print Preview"));
}

}  // namespace
}  // namespace rz47::testing

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
