// Record count, record decode, row texts, and the decode into the table (fresh and
// merged), including the merge against a straightforward scan of every row.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "device/archive_decode.h"
#include "device/materials.h"
#include "gauge_bytes.h"
#include "platform/cp1251.h"
#include "table/grid_data.h"

namespace rz47 {
namespace {

using test::MakeArchiveRecord;
using test::RecordFields;

const FormatSettings kRu = MakeFormatSettings("dd.MM.yyyy", ',');
const FormatSettings kUs = MakeFormatSettings("M/d/yy", '.');

TEST(CountArchiveRecords, CountsOneBitsOfTheOccupancyBytesOnly) {
  std::array<std::uint8_t, 204> block{};
  block[0] = 0x01;
  block[77] = 0x80;
  block[199] = 0x10;
  block[200] = block[201] = 0xAA;  // marker bits are not slots
  block[202] = block[203] = 0xFF;
  EXPECT_EQ(CountArchiveRecords(block), 3u);
  for (int i = 0; i < 200; ++i) block[i] = 0xFF;
  EXPECT_EQ(CountArchiveRecords(block), 1600u);
}

struct TextCase {
  const char* name;
  RecordFields fields;
  int lang;
  const FormatSettings* fs;
  std::array<const char*, 7> texts;  // UTF-8
};

class RowTextsTest : public testing::TestWithParam<TextCase> {};

TEST_P(RowTextsTest, ColumnsOneToSeven) {
  const TextCase& c = GetParam();
  const auto bytes = MakeArchiveRecord(c.fields);
  const auto texts = ArchiveRowTexts(DecodeArchiveRecord(bytes), c.lang, *c.fs);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Cp1251ToUtf8(texts[i]), c.texts[i]) << c.name << " column " << i + 1;
}

RecordFields With(auto change) {
  RecordFields f;
  change(f);
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    Records, RowTextsTest,
    testing::Values(
        TextCase{"7,5,9,10,6,14 in Russian settings", {}, 0, &kRu,
                 {"09:05:07", "10.06.2014", "1", "1", "Бетон ", "12,50", "4000"}},
        TextCase{"same record, US short date", {}, 1, &kUs,
                 {"09:05:07", "6/10/14", "1", "1", "\xD0\xA1oncrete", "12.50", "4000"}},
        TextCase{"speed FF FF FF FF", With([](RecordFields& f) { f.speed = 0xFFFFFFFFu; }), 1, &kUs,
                 {"09:05:07", "6/10/14", "1", "1", "\xD0\xA1oncrete", "12.50", "4294967295"}},
        TextCase{"thickness 0.5, series and number", With([](RecordFields& f) {
                   f.thickness = 0.5f;
                   f.series = 255;
                   f.number = 42;
                 }),
                 0, &kRu, {"09:05:07", "10.06.2014", "255", "42", "Бетон ", "0,50", "4000"}},
        TextCase{"thickness NaN, material 15", With([](RecordFields& f) {
                   f.thickness = std::numeric_limits<float>::quiet_NaN();
                   f.material = 15;
                 }),
                 0, &kRu, {"09:05:07", "10.06.2014", "1", "1", "Материал 10", "NAN", "4000"}},
        TextCase{"thickness +inf, material 20", With([](RecordFields& f) {
                   f.thickness = std::numeric_limits<float>::infinity();
                   f.material = 20;
                 }),
                 1, &kUs, {"09:05:07", "6/10/14", "1", "1", "NAN", "INF", "4000"}},
        TextCase{"thickness -inf, midnight, 31 Dec 2099", With([](RecordFields& f) {
                   f.thickness = -std::numeric_limits<float>::infinity();
                   f.hour = f.min = f.sec = 0;
                   f.day = 31;
                   f.month = 12;
                   f.year = 99;
                 }),
                 1, &kRu, {"00:00:00", "31.12.2099", "1", "1", "\xD0\xA1oncrete", "-INF", "4000"}},
        TextCase{"month 13", With([](RecordFields& f) { f.month = 13; }), 0, &kRu,
                 {"NAN", "NAN", "1", "1", "Бетон ", "12,50", "4000"}},
        TextCase{"31 June", With([](RecordFields& f) { f.day = 31; }), 0, &kRu,
                 {"NAN", "NAN", "1", "1", "Бетон ", "12,50", "4000"}},
        TextCase{"hour 24", With([](RecordFields& f) { f.hour = 24; }), 0, &kRu,
                 {"NAN", "NAN", "1", "1", "Бетон ", "12,50", "4000"}},
        TextCase{"29 Feb 2016 (leap)", With([](RecordFields& f) {
                   f.day = 29;
                   f.month = 2;
                   f.year = 16;
                 }),
                 0, &kRu, {"09:05:07", "29.02.2016", "1", "1", "Бетон ", "12,50", "4000"}}));

// The table as the main window shows it at start: heading row and 8 empty rows.
GridData StartTable() { return GridData(8, 9); }

std::vector<test::RecordFields> Seconds(std::initializer_list<int> seconds) {
  std::vector<RecordFields> out;
  for (int s : seconds) out.push_back(With([&](RecordFields& f) { f.sec = s; }));
  return out;
}

std::vector<ArchiveRecordBytes> Bytes(const std::vector<RecordFields>& fields) {
  std::vector<ArchiveRecordBytes> out;
  for (const auto& f : fields) out.push_back(MakeArchiveRecord(f));
  return out;
}

std::vector<std::string> Column(const GridData& grid, int col) {
  std::vector<std::string> out;
  for (int r = 1; r < grid.RowCount(); ++r) out.push_back(grid.CellString(col, r));
  return out;
}

TEST(DecodeIntoEmptyTable, ExactlyOneRowPerRecordNumberedFromOne) {
  GridData grid = StartTable();
  grid.SetCell(3, 5, "left over");  // an empty table may still hold stray cells
  DecodeArchiveIntoGrid(grid, Bytes(Seconds({1, 2, 3})), 0, kRu);
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"09:05:01", "09:05:02", "09:05:03"}));
}

TEST(DecodeIntoEmptyTable, RecordsOfTheSameMomentAllAppear) {
  GridData grid = StartTable();
  DecodeArchiveIntoGrid(grid, Bytes(Seconds({9, 9})), 0, kRu);
  EXPECT_EQ(grid.RowCount(), 3);
}

TEST(DecodeIntoEmptyTable, EmptyArchiveAddsOneEmptyRow) {
  GridData grid = StartTable();
  DecodeArchiveIntoGrid(grid, {}, 0, kRu);
  EXPECT_EQ(grid.RowCount(), 10);
  EXPECT_TRUE(grid.IsEmpty());
}

struct MergeCase {
  const char* name;
  std::vector<int> tableSeconds;   // rows already in the table (decoded earlier)
  std::vector<int> archiveSeconds;
  std::vector<std::string> expectedTimes;  // column 1 afterwards
};

class MergeTest : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeTest, AppendsOnlyMomentsTheTableLacks) {
  const MergeCase& c = GetParam();
  GridData grid = StartTable();
  std::vector<RecordFields> first;
  for (int s : c.tableSeconds) first.push_back(With([&](RecordFields& f) { f.sec = s; }));
  DecodeArchiveIntoGrid(grid, Bytes(first), 0, kRu);
  std::vector<RecordFields> second;
  for (int s : c.archiveSeconds) second.push_back(With([&](RecordFields& f) { f.sec = s; }));
  DecodeArchiveIntoGrid(grid, Bytes(second), 0, kRu);
  EXPECT_EQ(Column(grid, 1), c.expectedTimes) << c.name;
  std::vector<std::string> numbers;
  for (std::size_t i = 1; i <= c.expectedTimes.size(); ++i) numbers.push_back(std::to_string(i));
  EXPECT_EQ(Column(grid, 0), numbers) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeTest,
    testing::Values(
        MergeCase{"same archive twice appends nothing", {1, 2, 3}, {1, 2, 3}, {"09:05:01", "09:05:02", "09:05:03"}},
        MergeCase{"two records of one moment: only the first is appended",
                  {1},
                  {5, 5},
                  {"09:05:01", "09:05:05"}},
        MergeCase{"new records at the end in archive order", {2}, {3, 1, 2}, {"09:05:02", "09:05:03", "09:05:01"}},
        MergeCase{"empty archive leaves the table", {1, 2}, {}, {"09:05:01", "09:05:02"}}));

TEST(Merge, RowsThatDoNotParseMatchNothingAndTheDecodeGoesOn) {
  GridData grid(8, 4);
  grid.SetRow(1, {"1", "09:05:07", "not a date", "1", "1", "x", "1,00", "1"});
  grid.SetRow(2, {"2", "25:99:00", "10.06.2014", "1", "1", "x", "1,00", "1"});
  grid.SetRow(3, {"3", "", "", "", "", "", "", ""});
  DecodeArchiveIntoGrid(grid, Bytes({RecordFields{}}), 0, kRu);
  ASSERT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.CellString(0, 4), "4");
  EXPECT_EQ(grid.CellString(1, 4), "09:05:07");
  EXPECT_EQ(grid.CellString(2, 4), "10.06.2014");
}

TEST(Merge, RowsFromAnotherTimeFormatStillMatchTheirMoment) {
  GridData grid(8, 2);
  grid.SetRow(1, {"1", "9:05:07", "10.06.2014", "1", "1", "x", "1,00", "1"});
  DecodeArchiveIntoGrid(grid, Bytes({RecordFields{}}), 0, kRu);
  EXPECT_EQ(grid.RowCount(), 2);
}

TEST(Merge, RecordWithImpossibleDateIsAppendedOnceAcrossReads) {
  const auto archive = Bytes({With([](RecordFields& f) { f.month = 13; }), RecordFields{}});
  GridData grid = StartTable();
  DecodeArchiveIntoGrid(grid, archive, 0, kRu);
  ASSERT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.CellString(1, 1), "NAN");
  DecodeArchiveIntoGrid(grid, archive, 0, kRu);
  EXPECT_EQ(grid.RowCount(), 3);
  // A different undated record is still new.
  DecodeArchiveIntoGrid(grid, Bytes({With([](RecordFields& f) {
                          f.month = 13;
                          f.speed = 1;
                        })}),
                        0, kRu);
  EXPECT_EQ(grid.RowCount(), 4);
}

// The duplicate test as a plain scan: every record against every row, rows appended
// before it included, each row parsed on its own.
void ReferenceMerge(GridData& grid, const std::vector<ArchiveRecordBytes>& records, const FormatSettings& fs) {
  for (const auto& bytes : records) {
    const ArchiveRecord record = DecodeArchiveRecord(bytes);
    const auto moment = RecordMoment(record);
    bool duplicate = false;
    for (int row = 1; row < grid.RowCount() && !duplicate; ++row) {
      duplicate = RowMoment(grid, row, fs) == moment;
    }
    if (duplicate) continue;
    const int row = grid.RowCount();
    grid.SetRowCount(row + 1);
    const auto texts = ArchiveRowTexts(record, 0, fs);
    const std::string number = std::to_string(row);
    grid.SetRow(row, {number, texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6]});
  }
}

TEST(Merge, SameResultAsScanningEveryRow) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    // Few distinct moments, so duplicates within the table and the archive are common.
    auto randomRecord = [&] {
      return MakeArchiveRecord(With([&](RecordFields& f) {
        f.sec = pick(0, 3);
        f.min = pick(0, 1);
        f.day = pick(1, 2);
        f.speed = static_cast<std::uint32_t>(pick(0, 9));
      }));
    };
    GridData table(8, 1);
    const int rows = pick(1, 30);
    table.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
      const auto texts = ArchiveRowTexts(DecodeArchiveRecord(randomRecord()), 0, kRu);
      const std::string garbled = pick(0, 5) == 0 ? "??" : texts[1];  // some rows do not parse
      table.SetRow(r, {std::to_string(r), texts[0], garbled, texts[2], texts[3], texts[4], texts[5], texts[6]});
    }
    std::vector<ArchiveRecordBytes> archive;
    for (int i = pick(0, 25); i > 0; --i) archive.push_back(randomRecord());

    GridData viaSets = table;
    GridData viaScan = table;
    DecodeArchiveIntoGrid(viaSets, archive, 0, kRu);
    ReferenceMerge(viaScan, archive, kRu);
    ASSERT_EQ(viaSets.RowCount(), viaScan.RowCount()) << "seed " << seed;
    for (int r = 0; r < viaSets.RowCount(); ++r) {
      for (int c = 0; c < 8; ++c) ASSERT_EQ(viaSets.Cell(c, r), viaScan.Cell(c, r)) << seed << " " << c << "," << r;
    }
  }
}

}  // namespace
}  // namespace rz47
