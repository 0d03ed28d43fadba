// The table's interaction rules: sort direction, mouse-up cases, popup rule, row
// deletion with its flags and title, status hints, the Ctrl+C key test and scope.
#include "table/table_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid_fixture.h"

namespace rz47 {
namespace {

using test::ColumnOf;
using test::MakeGrid;
using test::Row;

Row NumberedRow(int number) {
  return {std::to_string(number), "10:00:00", "17.06.2014", "1", std::to_string(number), "Бетон", "1,00", "1500"};
}

std::vector<Row> NumberedRows(int count) {
  std::vector<Row> rows;
  for (int i = 1; i <= count; ++i) rows.push_back(NumberedRow(i));
  return rows;
}

TEST(TableRules, SortDirectionToggles) {
  struct Case {
    int before, after;
  };
  for (Case c : {Case{0, -1}, Case{1, -1}, Case{-1, 1}, Case{2, 1}}) {
    EXPECT_EQ(ToggleSortDirection(c.before), c.after) << c.before;
  }
  // First click descending, then ascending, then descending again.
  int direction = 0;
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) seen.push_back(direction = ToggleSortDirection(direction));
  EXPECT_EQ(seen, (std::vector<int>{-1, 1, -1}));
}

TEST(TableRules, MouseUpCases) {
  struct Case {
    int col, row;
    MouseUpCase expected;
  };
  const Case cases[] = {
      {0, 0, MouseUpCase::Heading},  {5, 0, MouseUpCase::Heading},    {0, 1, MouseUpCase::RowNumber},
      {0, 8, MouseUpCase::RowNumber}, {-1, -1, MouseUpCase::NoCell}, {3, 4, MouseUpCase::Other},
      {1, 1, MouseUpCase::Other},    {-1, 3, MouseUpCase::Other},     {3, -1, MouseUpCase::Other},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyMouseUp(c.col, c.row), c.expected) << c.col << "," << c.row;
  }
}

TEST(TableRules, WholeRowSpansEveryColumn) {
  EXPECT_EQ(WholeRowSelection(MakeGrid(NumberedRows(5)), 5), (GridRect{0, 5, 7, 5}));
  EXPECT_EQ(WholeRowSelection(MakeGrid(NumberedRows(2), 0, 9), 2), (GridRect{0, 2, 8, 2}));
}

TEST(TableRules, PopupOpensOnlyOnTheJustSelectedRowsNumber) {
  struct Case {
    const char* what;
    GridRect selection;
    int col, row;
    bool emptyTable;
    bool opens;
  };
  const Case cases[] = {
      {"selected row's number", {0, 5, 7, 5}, 0, 5, false, true},
      {"another row's number", {0, 5, 7, 5}, 0, 4, false, false},
      {"a data cell of the selected row", {0, 5, 7, 5}, 3, 5, false, false},
      {"block not starting at column 0", {1, 5, 7, 5}, 0, 5, false, false},
      {"cleared selection", kNoSelection, 0, 5, false, false},
      {"empty table", {0, 1, 7, 1}, 0, 1, true, false},
  };
  for (const Case& c : cases) {
    GridData grid = c.emptyTable ? MakeGrid({Row(8)}) : MakeGrid(NumberedRows(6));
    grid.SetSelection(c.selection);
    EXPECT_EQ(PopupMenuOpens(grid, c.col, c.row), c.opens) << c.what;
  }
}

struct DeleteCase {
  const char* name;
  int rows;                          // data rows numbered 1..rows
  GridRect selection;
  bool deletes;
  std::vector<std::string> numbers;  // column 0 afterwards
  GridRect selectionAfter;
};

class DeleteRow : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteRow, RemovesTheSelectionsTopRowKeepingTheNumbers) {
  const DeleteCase& c = GetParam();
  GridData grid = MakeGrid(NumberedRows(c.rows));
  grid.SetSelection(c.selection);
  EXPECT_EQ(DeleteSelectedRow(grid), c.deletes);
  EXPECT_EQ(ColumnOf(grid, 0), c.numbers);
  EXPECT_EQ(grid.Selection(), c.selectionAfter);
  // Rows move whole: column 4 repeats each row's number.
  EXPECT_EQ(ColumnOf(grid, 4), c.numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteRow,
    ::testing::Values(
        DeleteCase{"middle_row", 3, {0, 2, 7, 2}, true, {"1", "3"}, {0, 2, 7, 2}},
        DeleteCase{"first_row", 3, {0, 1, 7, 1}, true, {"2", "3"}, {0, 1, 7, 1}},
        // Only the top row of a larger selection goes.
        DeleteCase{"block_of_rows", 4, {2, 2, 5, 3}, true, {"1", "3", "4"}, {2, 2, 5, 3}},
        // The selection falls off the end and is pulled back onto the new last row.
        DeleteCase{"last_row", 3, {0, 3, 7, 3}, true, {"1", "2"}, {0, 2, 7, 2}},
        // The only data row is emptied, the row count stays 2: the table is empty.
        DeleteCase{"only_row", 1, {0, 1, 7, 1}, true, {""}, {0, 1, 7, 1}},
        DeleteCase{"cleared_selection", 3, kNoSelection, false, {"1", "2", "3"}, kNoSelection},
        DeleteCase{"heading_row", 3, {0, 0, 7, 0}, false, {"1", "2", "3"}, {0, 0, 7, 0}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(DeleteRow, OnlyDataRowLeavesAnEmptyTable) {
  GridData grid = MakeGrid(NumberedRows(1));
  grid.SetSelection({0, 1, 7, 1});
  ASSERT_TRUE(DeleteSelectedRow(grid));
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_TRUE(grid.IsEmpty());
  for (int c = 0; c < grid.ColCount(); ++c) EXPECT_TRUE(grid.Cell(c, 1).empty()) << c;
}

TEST(DeleteRow, FlagsAndTitle) {
  struct Case {
    bool wasModified;
    std::string title, titleAfter;
  };
  const Case cases[] = {
      {false, "RZ-4.7", "RZ-4.7*"},
      {false, "RZ-4.7 - Arhive 0.rz4", "RZ-4.7 - Arhive 0.rz4*"},
      // Already modified: no second star.
      {true, "RZ-4.7 - Arhive 0.rz4*", "RZ-4.7 - Arhive 0.rz4*"},
  };
  for (const Case& c : cases) {
    RowDeletionEffect effect = AfterRowDeletion(c.wasModified, c.title);
    EXPECT_TRUE(effect.named);
    EXPECT_TRUE(effect.modified);
    EXPECT_EQ(effect.title, c.titleAfter);
  }
}

TEST(TableRules, StatusHints) {
  EXPECT_EQ(HintAt(0), StatusHint::Sort);
  for (int row : {1, 7, -1}) EXPECT_EQ(HintAt(row), StatusHint::Select) << row;
}

TEST(TableRules, CopyKey) {
  struct Case {
    int key;
    bool ctrl;
    bool copies;
  };
  const Case cases[] = {
      {kVkC, true, true},        {kVkNumpad3, true, true}, {kVkC, false, false}, {kVkNumpad3, false, false},
      {0x44, true, false},       {0x03, true, false},      {0x23, true, false},  {0x41, true, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsCopyKey(c.key, c.ctrl), c.copies) << std::hex << c.key << " " << c.ctrl;
}

TEST(TableRules, CopyScope) {
  struct Case {
    GridRect selection;
    CopyScope scope;
  };
  const Case cases[] = {
      {{3, 2, 3, 2}, CopyScope::WholeTable},
      {kNoSelection, CopyScope::WholeTable},
      {{3, 2, 4, 2}, CopyScope::Block},
      {{3, 2, 3, 3}, CopyScope::Block},
      {{0, 5, 7, 5}, CopyScope::Block},
  };
  for (const Case& c : cases) EXPECT_EQ(CopyScopeFor(c.selection), c.scope);
}

}  // namespace
}  // namespace rz47
