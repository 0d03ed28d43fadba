// rz47cli export and report end to end: workbooks and PDF read back by independent
// readers, the empty-table refusal, files that cannot be written, usage errors.
#include <gtest/gtest.h>

#include "archive/archive_file.h"
#include "cli_run.h"
#include "pdf_words.h"
#include "platform/cp1251.h"
#include "sample_tables.h"
#include "workbook_reader.h"

namespace rz47::testing {
namespace {

using test::RunCli;

class OutputCliTest : public ::testing::Test {
 protected:
  std::string Archive(int rows) {
    const std::string path = (folder_ / (std::to_string(rows) + "rows.rz4")).string();
    EXPECT_TRUE(SaveGridToFile(MakeMeasurementGrid(rows), path).ok);
    return path;
  }
  // A table as the window starts with: 8 data rows, all empty.
  std::string EmptyArchive() {
    const std::string path = (folder_ / "empty.rz4").string();
    EXPECT_TRUE(SaveGridToFile(GridData(8, 9), path).ok);
    return path;
  }
  TempFolder folder_;
};

TEST_F(OutputCliTest, ExportsBothFormatsInTheChosenLanguage) {
  const std::string in = Archive(30);
  for (const char* name : {"out.xls", "out.xlsx"}) {
    SCOPED_TRACE(name);
    const std::string out = (folder_ / name).string();
    const test::CliRun run = RunCli({"--lang", "en", "--quiet", "export", in, out});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err.find('%'), std::string::npos) << "--quiet shows no progress";
    const std::vector<ReadSheet> sheets = ReadWorkbookCells(out);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].name, "Archive of measurements 1");
    ASSERT_EQ(sheets[0].cells.size(), 31u * 8u);
    EXPECT_EQ(sheets[0].cells[1].value, "Time");  // headings of the run's language
    // Rows as the archive holds them (material names stay as stored).
    const GridData grid = MakeMeasurementGrid(30);
    EXPECT_EQ(sheets[0].cells[8 * 30 + 5].value, Cp1251ToUtf8(grid.Cell(5, 30)));
  }
}

TEST_F(OutputCliTest, ReportsProgressUnlessQuiet) {
  const test::CliRun run = RunCli({"export", Archive(5000), (folder_ / "p.xlsx").string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("100%"), std::string::npos) << run.err;
}

struct RefusalCase {
  const char* name;
  std::vector<std::string> args;  // "IN" and "DIR" are replaced
  int exitCode;
  const char* message;  // expected on standard error (UTF-8)
};

class OutputCliRefusalTest : public OutputCliTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(OutputCliRefusalTest, WritesNothingAndSaysWhy) {
  const std::string empty = EmptyArchive();
  std::vector<std::string> args;
  for (std::string arg : GetParam().args) {
    if (arg == "IN") arg = empty;
    if (arg == "FULL") arg = Archive(3);
    if (arg.starts_with("DIR/")) arg = (folder_ / arg.substr(4)).string();
    args.push_back(arg);
  }
  const test::CliRun run = RunCli(args);
  EXPECT_EQ(run.exitCode, GetParam().exitCode);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  for (const std::string& file : folder_.Files()) EXPECT_TRUE(file.ends_with(".rz4")) << file;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputCliRefusalTest,
    ::testing::Values(
        RefusalCase{"empty_table", {"export", "IN", "DIR/e.xlsx"}, 2, "Архив не считан!"},
        RefusalCase{"empty_table_english", {"--lang", "en", "export", "IN", "DIR/e.xls"}, 2, "Archive not read!"},
        RefusalCase{"unwritable_workbook", {"export", "FULL", "DIR/missing/e.xls"}, 2, "Экспорт данных - Ошибка !!!"},
        RefusalCase{"unreadable_archive", {"export", "DIR/none.rz4", "DIR/e.xlsx"}, 2, "none.rz4"},
        RefusalCase{"unwritable_pdf", {"report", "FULL", "-o", "DIR/missing/r.pdf"}, 2, "r.pdf"},
        RefusalCase{"export_usage", {"export", "FULL"}, 1, "export takes"},
        RefusalCase{"report_usage", {"report", "FULL", "DIR/r.pdf"}, 1, "report takes"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(OutputCliTest, ReportRendersThePdf) {
  const std::string out = (folder_ / "r.pdf").string();
  const test::CliRun run = RunCli({"--lang", "en", "report", Archive(100), "-o", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<PdfPage> pages = ReadPdfPages(out);
  ASSERT_EQ(pages.size(), 2u);  // 101 body lines, 68 a page
  for (const PdfPage& page : pages) {
    ASSERT_GE(page.lines.size(), 3u);
    EXPECT_TRUE(page.lines[0].Words().starts_with("Archive of measurements ")) << page.lines[0].Words();
    EXPECT_TRUE(page.lines[1].Words().starts_with("№ Time Date Series Number Material"));
  }
  EXPECT_EQ(pages[1].lines.back().Words(), "2");
}

TEST_F(OutputCliTest, EmptyTableStillPrints) {
  const std::string out = (folder_ / "r.pdf").string();
  const test::CliRun run = RunCli({"report", "-o", out, EmptyArchive()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<PdfPage> pages = ReadPdfPages(out);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].lines.size(), 3u);  // title, heading line, page number: the rows are blank
}

}  // namespace
}  // namespace rz47::testing
