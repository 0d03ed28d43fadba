// The measurement table's data: a grid of Windows-1251 text cells addressed as
// (column, row) from 0, with one fixed heading row and one fixed row-number column,
// column widths, and the selected block.
//
// Storage is compact for tables of a million rows: each row is one byte string
// holding its cells length-prefixed, and rows live in a vector, so deleting, moving
// and reordering rows moves row handles, never cell texts. A cell read returns a view
// into its row that stays valid until that row is next written or the rows change.
// Not synchronised: the UI thread owns it (workers reach it through Synchronize).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rz47 {

// An inclusive block of cells. A cleared selection is {-1, -1, -1, -1}.
struct GridRect {
  int left = -1;
  int top = -1;
  int right = -1;
  int bottom = -1;
  friend bool operator==(const GridRect&, const GridRect&) = default;
};

constexpr GridRect kNoSelection{};
constexpr int kDefaultColWidth = 40;
constexpr int kDefaultRowHeight = 20;

class GridData {
 public:
  // Observers get told what changed; the Qt model turns these into its signals.
  struct Observer {
    std::function<void()> beforeReset;  // counts or many rows are about to change
    std::function<void()> afterReset;
    std::function<void(int col, int row)> cellChanged;
    std::function<void()> selectionChanged;
  };

  GridData(int colCount = 8, int rowCount = 9);

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  static constexpr int FixedCols() { return 1; }
  static constexpr int FixedRows() { return 1; }

  // Surplus columns/rows disappear; new ones are empty (new columns: width 40).
  void SetColCount(int count);
  void SetRowCount(int count);

  std::string_view Cell(int col, int row) const;
  std::string CellString(int col, int row) const { return std::string(Cell(col, row)); }
  void SetCell(int col, int row, std::string_view text);
  // Replaces a whole row at once (cells beyond `cells` become empty): the fast path
  // for loading and decoding.
  void SetRow(int row, const std::vector<std::string_view>& cells);

  // The table counts as empty when cell (0, 1) holds the empty text.
  bool IsEmpty() const;

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);

  GridRect Selection() const { return selection_; }
  void SetSelection(const GridRect& rect);

  // Moves row `from` to position `to` (rows between shift by one), as dragging a
  // row number does.
  void MoveRow(int from, int to);
  // Reorders rows first..first+order.size()-1: new row first+i takes old row
  // first+order[i]. `order` must be a permutation of 0..n-1.
  void PermuteRows(int first, const std::vector<int>& order);
  // Removes `row` (later rows shift up); the row count drops by one.
  void RemoveRow(int row);

  // Groups changes so observers see one reset instead of many cell signals.
  void BeginUpdate();
  void EndUpdate();

  void SetObserver(Observer observer) { observer_ = std::move(observer); }

 private:
  static std::string EncodeRow(const std::vector<std::string_view>& cells);
  std::vector<std::string_view> DecodeRow(int row) const;
  void NotifyReset(bool before);

  int colCount_;
  std::vector<std::string> rows_;
  std::vector<int> colWidths_;
  GridRect selection_{1, 1, 1, 1};
  int updateDepth_ = 0;
  Observer observer_;
};

}  // namespace rz47
