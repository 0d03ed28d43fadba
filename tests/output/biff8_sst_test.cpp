// The shared string table of .xls workbooks: texts that cross the 8224-byte record
// limit (split at every possible distance from the edge, 8-bit and UTF-16 texts,
// a table of many records) read back whole with xlrd, and the EXTSST index points
// at the texts it names.
#include <gtest/gtest.h>

#include "output/workbook_export.h"
#include "platform/cp1251.h"
#include "sample_tables.h"
#include "workbook_reader.h"

namespace rz47::testing {
namespace {

constexpr std::size_t kMaxBody = 8224;
constexpr std::size_t kSstHead = 8;     // total and unique counts
constexpr std::size_t kTextHeader = 3;  // character count, flags

// A one-column table whose cells become the shared strings in order.
GridData OneColumn(const std::vector<std::string>& texts) {
  GridData grid(1, static_cast<int>(texts.size()));
  for (std::size_t r = 0; r < texts.size(); ++r) grid.SetCell(0, static_cast<int>(r), texts[r]);
  return grid;
}

void ExpectReadsBack(const GridData& grid) {
  TempFolder folder;
  const std::filesystem::path file = folder / "s.xls";
  ASSERT_EQ(ExportWorkbook(grid, "S", file).status, ExportStatus::Ok);
  const std::vector<ReadSheet> sheets = ReadWorkbookCells(file);
  ASSERT_EQ(sheets.size(), 1u);
  ASSERT_EQ(sheets[0].cells.size(), static_cast<std::size_t>(grid.RowCount()));
  for (int r = 0; r < grid.RowCount(); ++r) {
    ASSERT_EQ(sheets[0].cells[r].value, Cp1251ToUtf8(grid.Cell(0, r))) << "row " << r;
  }
}

struct EdgeCase {
  std::size_t room;  // bytes left in the SST record after the first text
  bool wide;         // the second text needs UTF-16
};

class SstRecordEdgeTest : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(SstRecordEdgeTest, TextAtTheEdgeOfTheFirstRecordReadsBack) {
  const auto [room, wide] = GetParam();
  // An 8-bit first text sized so that exactly `room` bytes remain.
  const std::string first(kMaxBody - kSstHead - kTextHeader - room, 'a');
  const std::string second = wide ? Cp(std::string(40, 'x').c_str()) + Cp("жёлтый") : std::string(40, 'b');
  ExpectReadsBack(OneColumn({first, second, "tail"}));
}

INSTANTIATE_TEST_SUITE_P(Edges, SstRecordEdgeTest,
                         ::testing::Values(EdgeCase{0, false}, EdgeCase{1, false}, EdgeCase{2, false},
                                           EdgeCase{3, false}, EdgeCase{4, false}, EdgeCase{5, false},
                                           EdgeCase{0, true}, EdgeCase{3, true}, EdgeCase{4, true},
                                           EdgeCase{5, true}, EdgeCase{6, true}),
                         [](const auto& test) {
                           return std::string(test.param.wide ? "utf16" : "latin") + "_room" +
                                  std::to_string(test.param.room);
                         });

// Many distinct texts of all lengths, 8-bit and Cyrillic, including texts longer
// than a whole record.
GridData ManyTexts() {
  std::vector<std::string> texts;
  const std::string cyr = Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
  for (int i = 0; i < 3000; ++i) {
    const std::size_t length = 1 + (i * 7919) % (i % 50 == 0 ? 20000 : 300);
    std::string text;
    const std::string& alphabet = i % 3 == 0 ? cyr : std::string("0123456789abcdefghij");
    for (std::size_t k = 0; k < length; ++k) text += alphabet[(i + k) % alphabet.size()];
    texts.push_back(text + std::to_string(i));
  }
  return OneColumn(texts);
}

TEST(SstTest, ManyRecordsOfTextsReadBack) { ExpectReadsBack(ManyTexts()); }

std::uint32_t Le(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

TEST(SstTest, ExtSstPointsAtTheTextsItNames) {
  const GridData grid = ManyTexts();
  TempFolder folder;
  const std::filesystem::path file = folder / "s.xls";
  ASSERT_EQ(ExportWorkbook(grid, "S", file).status, ExportStatus::Ok);
  const std::string stream = ReadCompoundStream(file, "Workbook");

  // Find EXTSST by walking the globals' records.
  std::size_t at = 0;
  while (at + 4 <= stream.size() && Le(stream, at, 2) != 0x00FF) at += 4 + Le(stream, at + 2, 2);
  ASSERT_LT(at + 6, stream.size()) << "no EXTSST record";
  const std::size_t length = Le(stream, at + 2, 2);
  const std::uint32_t perBucket = Le(stream, at + 4, 2);
  const std::size_t buckets = (length - 2) / 8;
  ASSERT_EQ(buckets, (grid.RowCount() + perBucket - 1) / perBucket);
  ASSERT_LE(buckets, 128u);
  for (std::size_t b = 0; b < buckets; ++b) {
    const std::uint32_t pos = Le(stream, at + 6 + 8 * b, 4);
    const std::uint32_t inRecord = Le(stream, at + 6 + 8 * b + 4, 2);
    SCOPED_TRACE("bucket " + std::to_string(b));
    // The position is inside an SST or CONTINUE record, `inRecord` bytes from its start.
    const std::uint32_t record = Le(stream, pos - inRecord, 2);
    EXPECT_TRUE(record == 0x00FC || record == 0x003C);
    // And it holds the header and first character of text number b * perBucket.
    const std::string text = grid.CellString(0, static_cast<int>(b * perBucket));
    const std::u16string expected = Cp1251ToUtf16(text);
    EXPECT_EQ(Le(stream, pos, 2), expected.size());
    const bool wide = Le(stream, pos + 2, 1) & 1;
    EXPECT_EQ(Le(stream, pos + 3, wide ? 2 : 1), expected[0]);
  }
}

}  // namespace
}  // namespace rz47::testing
