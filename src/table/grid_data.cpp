#include "table/grid_data.h"

#include <algorithm>
#include <stdexcept>

namespace rz47 {
namespace {

// A row is its cells in column order, each as a length (7 bits a byte, low bits
// first, high bit set on all but the last byte) followed by the text bytes.
// Trailing empty cells may be missing.
void AppendLength(std::string& out, std::size_t length) {
  while (length >= 0x80) {
    out.push_back(static_cast<char>(0x80 | (length & 0x7F)));
    length >>= 7;
  }
  out.push_back(static_cast<char>(length));
}

std::size_t ReadLength(std::string_view row, std::size_t& at) {
  std::size_t length = 0;
  int shift = 0;
  while (at < row.size()) {
    auto byte = static_cast<unsigned char>(row[at++]);
    length |= static_cast<std::size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) break;
    shift += 7;
  }
  return length;
}

}  // namespace

GridData::GridData(int colCount, int rowCount)
    : colCount_(std::max(colCount, 1)), rows_(std::max(rowCount, 1)),
      colWidths_(colCount_, kDefaultColWidth) {}

void GridData::NotifyReset(bool before) {
  if (updateDepth_ > 0) return;
  const auto& fn = before ? observer_.beforeReset : observer_.afterReset;
  if (fn) fn();
}

void GridData::BeginUpdate() {
  if (updateDepth_ == 0 && observer_.beforeReset) observer_.beforeReset();
  ++updateDepth_;
}

void GridData::EndUpdate() {
  if (updateDepth_ == 0) return;
  --updateDepth_;
  if (updateDepth_ == 0 && observer_.afterReset) observer_.afterReset();
}

void GridData::SetColCount(int count) {
  count = std::max(count, 1);
  if (count == colCount_) return;
  NotifyReset(true);
  if (count < colCount_) {
    for (int r = 0; r < RowCount(); ++r) {
      std::vector<std::string_view> cells = DecodeRow(r);
      cells.resize(std::min<std::size_t>(cells.size(), count));
      rows_[r] = EncodeRow(cells);
    }
  }
  colCount_ = count;
  colWidths_.resize(count, kDefaultColWidth);
  NotifyReset(false);
}

void GridData::SetRowCount(int count) {
  count = std::max(count, 1);
  if (count == RowCount()) return;
  NotifyReset(true);
  rows_.resize(count);
  NotifyReset(false);
}

std::string_view GridData::Cell(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return {};
  std::string_view data = rows_[row];
  std::size_t at = 0;
  for (int c = 0; at < data.size(); ++c) {
    std::size_t length = ReadLength(data, at);
    if (c == col) return data.substr(at, length);
    at += length;
  }
  return {};
}

std::vector<std::string_view> GridData::DecodeRow(int row) const {
  std::vector<std::string_view> cells;
  std::string_view data = rows_[row];
  std::size_t at = 0;
  while (at < data.size()) {
    std::size_t length = ReadLength(data, at);
    cells.push_back(data.substr(at, length));
    at += length;
  }
  return cells;
}

std::string GridData::EncodeRow(const std::vector<std::string_view>& cells) {
  std::size_t used = cells.size();
  while (used > 0 && cells[used - 1].empty()) --used;
  std::string out;
  std::size_t size = 0;
  for (std::size_t i = 0; i < used; ++i) size += cells[i].size() + 1;
  out.reserve(size);
  for (std::size_t i = 0; i < used; ++i) {
    AppendLength(out, cells[i].size());
    out.append(cells[i]);
  }
  return out;
}

void GridData::SetCell(int col, int row, std::string_view text) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) {
    throw std::out_of_range("grid cell out of range");
  }
  std::vector<std::string_view> cells = DecodeRow(row);
  if (cells.size() <= static_cast<std::size_t>(col)) cells.resize(col + 1);
  std::string copy(text);  // `text` may view this very row
  cells[col] = copy;
  rows_[row] = EncodeRow(cells);
  if (updateDepth_ == 0 && observer_.cellChanged) observer_.cellChanged(col, row);
}

void GridData::SetRow(int row, const std::vector<std::string_view>& cells) {
  if (row < 0 || row >= RowCount()) throw std::out_of_range("grid row out of range");
  std::vector<std::string_view> kept(cells.begin(),
                                     cells.begin() + std::min<std::size_t>(cells.size(), colCount_));
  rows_[row] = EncodeRow(kept);
  if (updateDepth_ == 0 && observer_.cellChanged) {
    for (int c = 0; c < colCount_; ++c) observer_.cellChanged(c, row);
  }
}

bool GridData::IsEmpty() const { return Cell(0, 1).empty(); }

int GridData::ColWidth(int col) const {
  return col >= 0 && col < colCount_ ? colWidths_[col] : kDefaultColWidth;
}

void GridData::SetColWidth(int col, int width) {
  if (col >= 0 && col < colCount_) colWidths_[col] = width;
}

void GridData::SetSelection(const GridRect& rect) {
  selection_ = rect;
  if (observer_.selectionChanged) observer_.selectionChanged();
}

void GridData::MoveRow(int from, int to) {
  if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount() || from == to) return;
  NotifyReset(true);
  if (from < to) {
    std::rotate(rows_.begin() + from, rows_.begin() + from + 1, rows_.begin() + to + 1);
  } else {
    std::rotate(rows_.begin() + to, rows_.begin() + from, rows_.begin() + from + 1);
  }
  NotifyReset(false);
}

void GridData::PermuteRows(int first, const std::vector<int>& order) {
  if (first < 0 || first + static_cast<int>(order.size()) > RowCount()) {
    throw std::out_of_range("row permutation out of range");
  }
  NotifyReset(true);
  std::vector<std::string> moved;
  moved.reserve(order.size());
  for (int source : order) moved.push_back(std::move(rows_[first + source]));
  std::move(moved.begin(), moved.end(), rows_.begin() + first);
  NotifyReset(false);
}

void GridData::RemoveRow(int row) {
  if (row < 0 || row >= RowCount() || RowCount() <= 1) return;
  NotifyReset(true);
  rows_.erase(rows_.begin() + row);
  NotifyReset(false);
}

}  // namespace rz47
