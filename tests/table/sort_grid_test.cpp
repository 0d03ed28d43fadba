// SortGrid: keys by column kind, both directions, the quicksort's order for equal
// keys, regional settings and collation, conversion errors, and agreement with the
// step-by-step reference sort on random tables.
#include "table/sort_grid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "grid_fixture.h"
#include "platform/collation.h"
#include "platform/convert_error.h"
#include "platform/format_settings.h"
#include "table/sort_grid_literal.h"

namespace rz47 {
namespace {

using test::AllCells;
using test::ColumnOf;
using test::MakeGrid;
using test::Row;

FormatSettings RussianSettings() { return MakeFormatSettings("dd.MM.yyyy", ','); }
FormatSettings EnglishSettings() { return MakeFormatSettings("M/d/yy", '.'); }

const TextCollator& RussianCollator() {
  static TextCollator collator("ru_RU");
  return collator;
}

// Four rows whose keys order differently in every column; series, numbers and
// thicknesses also order differently as texts than as numbers.
std::vector<Row> MeasurementRows() {
  return {
      {"1", "12:30:05", "17.06.2014", "9", "2", "Бетон", "10,50", "1500"},
      {"2", "08:15:00", "17.06.2014", "10", "1", "Кирпич", "9,75", "4200"},
      {"3", "23:59:59", "16.06.2014", "2", "30", "Газобетон", "1,20", "980"},
      {"4", "00:00:01", "01.01.2015", "100", "4", "бетон", "0,05", "2000"},
  };
}

struct OrderCase {
  int column;
  int direction;
  std::vector<std::string> numbers;  // column 0 after the sort
};

class SortByColumn : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SortByColumn, OrdersRowsByTheColumnsKeyAndMovesWholeRows) {
  const OrderCase& c = GetParam();
  GridData grid = MakeGrid(MeasurementRows());
  const std::vector<Row> before = AllCells(grid);
  const GridRect selection{2, 3, 4, 3};
  grid.SetSelection(selection);

  SortGrid(grid, c.column, c.direction, RussianSettings(), RussianCollator());

  EXPECT_EQ(ColumnOf(grid, 0), c.numbers);
  // Every row arrives whole, and the heading row and the selection stay.
  const std::vector<Row> after = AllCells(grid);
  EXPECT_EQ(after[0], before[0]);
  for (std::size_t r = 1; r < after.size(); ++r) EXPECT_EQ(after[r], before[std::stoi(after[r][0])]);
  EXPECT_EQ(grid.Selection(), selection);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, SortByColumn,
    ::testing::Values(OrderCase{0, 1, {"1", "2", "3", "4"}}, OrderCase{0, -1, {"4", "3", "2", "1"}},
                      // Time alone ignores the date.
                      OrderCase{1, 1, {"4", "2", "1", "3"}}, OrderCase{1, -1, {"3", "1", "2", "4"}},
                      // Date with its time: same day ordered by time.
                      OrderCase{2, 1, {"3", "2", "1", "4"}}, OrderCase{2, -1, {"4", "1", "2", "3"}},
                      OrderCase{3, 1, {"3", "1", "2", "4"}}, OrderCase{3, -1, {"4", "2", "1", "3"}},
                      OrderCase{4, 1, {"2", "1", "4", "3"}}, OrderCase{4, -1, {"3", "4", "1", "2"}},
                      // Russian collation: lower case before upper case of the same word.
                      OrderCase{5, 1, {"4", "1", "3", "2"}}, OrderCase{5, -1, {"2", "3", "1", "4"}},
                      OrderCase{6, 1, {"4", "3", "2", "1"}}, OrderCase{6, -1, {"1", "2", "3", "4"}},
                      OrderCase{7, 1, {"3", "1", "4", "2"}}, OrderCase{7, -1, {"2", "4", "1", "3"}},
                      // Any non-zero direction other than 1 is descending.
                      OrderCase{7, 2, {"2", "4", "1", "3"}}));

TEST(SortGrid, SortingByNumberAgainRestoresTheRecordOrder) {
  GridData grid = MakeGrid(MeasurementRows());
  const std::vector<Row> original = AllCells(grid);
  for (int column = 1; column < kStandardColCount; ++column) {
    SortGrid(grid, column, -1, RussianSettings(), RussianCollator());
    SortGrid(grid, 0, 1, RussianSettings(), RussianCollator());
    EXPECT_EQ(AllCells(grid), original) << "column " << column;
  }
}

struct EqualKeysCase {
  std::vector<std::string> series;   // column 3 of rows numbered 1, 2, ...
  int direction;
  std::vector<std::string> numbers;  // column 0 after the sort, worked out by hand
};

class EqualKeys : public ::testing::TestWithParam<EqualKeysCase> {};

TEST_P(EqualKeys, KeepTheOrderThePartitionLeaves) {
  const EqualKeysCase& c = GetParam();
  std::vector<Row> rows;
  for (std::size_t i = 0; i < c.series.size(); ++i) {
    rows.push_back({std::to_string(i + 1), "10:00:00", "01.01.2014", c.series[i], "1", "Бетон", "1,00", "1"});
  }
  GridData grid = MakeGrid(rows);
  SortGrid(grid, 3, c.direction, RussianSettings(), RussianCollator());
  EXPECT_EQ(ColumnOf(grid, 0), c.numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Quicksort, EqualKeys,
    ::testing::Values(
        // The first pass exchanges the first and the last of three equal keys.
        EqualKeysCase{{"5", "5", "5"}, 1, {"3", "2", "1"}}, EqualKeysCase{{"5", "5", "5"}, -1, {"3", "2", "1"}},
        EqualKeysCase{{"1", "2", "1", "2"}, 1, {"3", "1", "4", "2"}},
        EqualKeysCase{{"7", "7"}, 1, {"2", "1"}},
        // A single data row stays where it is.
        EqualKeysCase{{"5"}, 1, {"1"}}));

TEST(SortGrid, DirectionZeroAndTablesWithoutDataRowsChangeNothing) {
  GridData grid = MakeGrid(MeasurementRows());
  const std::vector<Row> before = AllCells(grid);
  SortGrid(grid, 7, 0, RussianSettings(), RussianCollator());
  EXPECT_EQ(AllCells(grid), before);

  GridData headingsOnly = MakeGrid({});
  SortGrid(headingsOnly, 7, 1, RussianSettings(), RussianCollator());
  EXPECT_EQ(headingsOnly.RowCount(), 1);
}

TEST(SortGrid, AColumnOutsideTheTableIsRefused) {
  GridData grid = MakeGrid(MeasurementRows());
  const std::vector<Row> before = AllCells(grid);
  EXPECT_THROW(SortGrid(grid, 8, 1, RussianSettings(), RussianCollator()), std::out_of_range);
  EXPECT_THROW(SortGrid(grid, -1, 1, RussianSettings(), RussianCollator()), std::out_of_range);
  EXPECT_EQ(AllCells(grid), before);
}

TEST(SortGrid, ColumnsPastTheEighthSortAsText) {
  std::vector<Row> rows = MeasurementRows();
  const char* extra[] = {"9", "100", "10", "Б"};
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].push_back(extra[i]);
  GridData grid = MakeGrid(rows, 0, 9);
  SortGrid(grid, 8, 1, RussianSettings(), RussianCollator());
  // As numbers 9 would come first; as text "10" < "100" < "9", and letters after digits.
  EXPECT_EQ(ColumnOf(grid, 8), (std::vector<std::string>{"10", "100", "9", "Б"}));
}

TEST(SortGrid, IntegerLimitsAreKeys) {
  std::vector<Row> rows = MeasurementRows();
  rows[0][7] = "2147483647";
  rows[1][7] = "-2147483648";
  rows[2][7] = " 0 ";
  GridData grid = MakeGrid(rows);
  SortGrid(grid, 7, 1, RussianSettings(), RussianCollator());
  EXPECT_EQ(ColumnOf(grid, 0), (std::vector<std::string>{"2", "3", "4", "1"}));
}

struct BadCellCase {
  int column;        // the column sorted
  int cellColumn;    // the cell made unreadable, in data row 3
  std::string text;  // UTF-8
};

class BadCell : public ::testing::TestWithParam<BadCellCase> {};

TEST_P(BadCell, StopsTheSortWithAConversionErrorNamingTheTextAndTouchesNothing) {
  const BadCellCase& c = GetParam();
  std::vector<Row> rows = MeasurementRows();
  rows[2][c.cellColumn] = c.text;
  GridData grid = MakeGrid(rows);
  grid.SetSelection({0, 2, 7, 2});
  const std::vector<Row> before = AllCells(grid);
  try {
    SortGrid(grid, c.column, -1, RussianSettings(), RussianCollator());
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_NE(std::string(e.what()).find("'" + c.text + "'"), std::string::npos) << e.what();
  }
  EXPECT_EQ(AllCells(grid), before);
  EXPECT_EQ(grid.Selection(), (GridRect{0, 2, 7, 2}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BadCell,
    ::testing::Values(BadCellCase{0, 0, ""}, BadCellCase{3, 3, "12a"},
                      BadCellCase{7, 7, "2147483648"},   // one past the 32-bit range
                      BadCellCase{4, 4, "-2147483649"}, BadCellCase{4, 4, "1,5"},
                      BadCellCase{1, 1, "25:00:00"}, BadCellCase{1, 1, "NAN"},
                      BadCellCase{2, 2, "31.02.2014"}, BadCellCase{2, 2, "2014-06-17"},
                      // The date column also reads the row's time.
                      BadCellCase{2, 1, "12-30-05"},
                      // A thickness written with another decimal separator.
                      BadCellCase{6, 6, "9.75"}, BadCellCase{6, 6, ""}));

struct SettingsCase {
  const char* name;
  FormatSettings settings;
  int column;
  std::vector<std::string> cells;     // the column's cells, rows 1.. (UTF-8)
  std::vector<std::string> ascending;  // the same cells after an ascending sort
};

class RegionalSettings : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(RegionalSettings, ReadDatesAndDecimalsAsTheyAreWritten) {
  const SettingsCase& c = GetParam();
  std::vector<Row> rows;
  for (std::size_t i = 0; i < c.cells.size(); ++i) {
    Row row{std::to_string(i + 1), "10:00:00", "", "1", "1", "", "", "1"};
    row[c.column] = c.cells[i];
    rows.push_back(row);
  }
  GridData grid = MakeGrid(rows);
  SortGrid(grid, c.column, 1, c.settings, RussianCollator());
  EXPECT_EQ(ColumnOf(grid, c.column), c.ascending);
}

INSTANTIATE_TEST_SUITE_P(
    RuAndEn, RegionalSettings,
    ::testing::Values(
        SettingsCase{"ru_dates", RussianSettings(), 2, {"02.01.2014", "31.12.2013", "01.02.2014"},
                     {"31.12.2013", "02.01.2014", "01.02.2014"}},
        SettingsCase{"en_dates", EnglishSettings(), 2, {"1/2/14", "12/31/13", "2/1/14"},
                     {"12/31/13", "1/2/14", "2/1/14"}},
        SettingsCase{"ru_decimals", RussianSettings(), 6, {"10,50", "9,75", "-0,50"}, {"-0,50", "9,75", "10,50"}},
        SettingsCase{"en_decimals", EnglishSettings(), 6, {"10.50", "9.75", "-0.50"}, {"-0.50", "9.75", "10.50"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RegionalSettings, TheOtherRegionsTextsAreConversionErrors) {
  GridData russian = MakeGrid({{"1", "10:00:00", "17.06.2014", "1", "1", "", "9,75", "1"},
                               {"2", "10:00:00", "18.06.2014", "1", "1", "", "1,00", "1"}});
  EXPECT_THROW(SortGrid(russian, 6, 1, EnglishSettings(), RussianCollator()), EConvertError);
  EXPECT_THROW(SortGrid(russian, 2, 1, EnglishSettings(), RussianCollator()), EConvertError);
}

struct CollationCase {
  const char* locale;
  std::vector<std::string> ascending;
};

class Collation : public ::testing::TestWithParam<CollationCase> {};

TEST_P(Collation, TextColumnsFollowTheLocalesCollation) {
  const CollationCase& c = GetParam();
  std::vector<Row> rows;
  for (std::size_t i = 0; i < c.ascending.size(); ++i) {
    // Fill in reverse, rotated, so the input is in no useful order.
    const std::string& name = c.ascending[(c.ascending.size() - 1 - i + 3) % c.ascending.size()];
    rows.push_back({std::to_string(i + 1), "10:00:00", "17.06.2014", "1", "1", name, "1,00", "1"});
  }
  TextCollator collator(c.locale);
  GridData grid = MakeGrid(rows);
  SortGrid(grid, 5, 1, RussianSettings(), collator);
  EXPECT_EQ(ColumnOf(grid, 5), c.ascending);
  SortGrid(grid, 5, -1, RussianSettings(), collator);
  EXPECT_EQ(ColumnOf(grid, 5), std::vector<std::string>(c.ascending.rbegin(), c.ascending.rend()));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, Collation,
    ::testing::Values(CollationCase{"ru_RU", {"", "абрикос", "Абрикос", "еда", "ёж", "Ёж", "ежевика", "ёлка", "ель",
                                              "Ель", "Ж", "жук", "яблоко", "apple", "Zebra"}},
                      CollationCase{"en_US", {"", "apple", "Zebra", "абрикос", "Абрикос", "ель", "яблоко"}}),
    [](const auto& p) { return std::string(p.param.locale); });

// The three-argument form reads the program's settings and the environment's locale.
TEST(SortGrid, DefaultsFollowTheCurrentSettingsAndTheEnvironmentsLocale) {
  const FormatSettings saved = CurrentFormatSettings();
  const char* savedLcAll = std::getenv("LC_ALL");
  const std::optional<std::string> lcAll = savedLcAll ? std::optional<std::string>(savedLcAll) : std::nullopt;
  SetFormatSettings(EnglishSettings());
  setenv("LC_ALL", "ru_RU.UTF-8", 1);

  GridData grid = MakeGrid({{"1", "10:00:00", "1/2/14", "1", "1", "apple", "10.50", "1"},
                            {"2", "10:00:00", "12/31/13", "1", "1", "яблоко", "9.75", "1"}});
  SortGrid(grid, 2, 1);
  EXPECT_EQ(ColumnOf(grid, 0), (std::vector<std::string>{"2", "1"}));
  SortGrid(grid, 6, -1);
  EXPECT_EQ(ColumnOf(grid, 0), (std::vector<std::string>{"1", "2"}));
  SortGrid(grid, 5, 1);  // Russian collation puts Cyrillic first
  EXPECT_EQ(ColumnOf(grid, 0), (std::vector<std::string>{"2", "1"}));

  SetFormatSettings(saved);
  if (lcAll) setenv("LC_ALL", lcAll->c_str(), 1);
  else unsetenv("LC_ALL");
}

// Random tables with many repeated keys: the permutation must leave exactly the rows
// the step-by-step sort leaves, in every column and both directions.
std::vector<Row> RandomRows(std::mt19937& random, int count) {
  const std::vector<std::string> times{"00:00:00", "08:15:00", "12:30:05", "12:30:06", "23:59:59"};
  const std::vector<std::string> dates{"31.12.2013", "01.01.2014", "17.06.2014", "29.02.2016"};
  const std::vector<std::string> materials{"Бетон", "бетон", "Кирпич", "Газобетон", "Ёлка", "ель", "Wood", ""};
  const std::vector<std::string> reals{"0,00", "9,75", "10,50", "-1,25", "NAN", "1,00e3"};
  auto pick = [&](const std::vector<std::string>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
  };
  auto number = [&](int lo, int hi) { return std::to_string(std::uniform_int_distribution<int>(lo, hi)(random)); };
  std::vector<Row> rows;
  for (int i = 0; i < count; ++i) {
    rows.push_back({number(1, count / 2 + 1), pick(times), pick(dates), number(-3, 3), number(0, 20),
                    pick(materials), pick(reals), number(900, 905), pick(materials) + number(0, 2)});
  }
  return rows;
}

TEST(SortGrid, AgreesWithTheStepByStepSortOnRandomTables) {
  std::mt19937 random(4711);
  const int sizes[] = {0, 1, 2, 3, 7, 50, 257, 1000};
  for (int size : sizes) {
    const GridData original = MakeGrid(RandomRows(random, size), 0, 9);
    for (int column = 0; column < 9; ++column) {
      for (int direction : {1, -1}) {
        GridData fast = original;
        GridData reference = original;
        SortGrid(fast, column, direction, RussianSettings(), RussianCollator());
        SortGridByRowSearch(reference, column, direction, RussianSettings(), RussianCollator());
        ASSERT_EQ(AllCells(fast), AllCells(reference))
            << "rows " << size << ", column " << column << ", direction " << direction;
      }
    }
  }
}

}  // namespace
}  // namespace rz47
