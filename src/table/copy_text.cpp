#include "table/copy_text.h"

#include <algorithm>
#include <vector>

#include "platform/message_box.h"
#include "table/archive_count.h"
#include "table/columns.h"
#include "table/table_texts.h"

namespace rz47 {
namespace {

constexpr char kTab = '\t';
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kTabStop = 8;

// TABs after a data cell's separator so that the next column starts where the
// heading's width would put it: one per full tab stop of a heading longer than both
// the cell and one tab stop.
std::size_t AlignmentTabs(std::size_t cellLength, std::size_t headingLength) {
  return headingLength > cellLength && headingLength >= kTabStop ? headingLength / kTabStop : 0;
}

// Drops the line's last character (the last separator, or an alignment TAB after it)
// and ends the line.
void EndLine(std::string& out) {
  out.pop_back();
  out.append(kLineEnd);
}

// Lengths of the headings of columns left..right (empty outside the table).
std::vector<std::size_t> HeadingLengths(const GridData& grid, int left, int right) {
  std::vector<std::size_t> lengths;
  for (int col = left; col <= right; ++col) lengths.push_back(grid.Cell(col, 0).size());
  return lengths;
}

void AppendDataLine(std::string& out, const GridData& grid, int row, int left,
                    const std::vector<std::size_t>& headingLengths) {
  for (std::size_t i = 0; i < headingLengths.size(); ++i) {
    std::string_view cell = grid.Cell(left + static_cast<int>(i), row);
    out.append(cell);
    out.push_back(kTab);
    out.append(AlignmentTabs(cell.size(), headingLengths[i]), kTab);
  }
  EndLine(out);
}

std::optional<std::string> RefuseWithoutArchive(int lang) {
  ShowMessageBox(Text(table_texts::kTableEmpty, lang), Text(table_texts::kWarning, lang), kMbStopOk);
  return std::nullopt;
}

}  // namespace

std::string BuildTableCopyText(const GridData& grid, int lang) {
  const std::string timeHeading = Text(kColumns[1].heading, lang);
  const std::string dateHeading = Text(kColumns[2].heading, lang);
  std::string out;
  // The time and date headings are shorter than their columns: one more TAB each.
  for (int col = 0; col < grid.ColCount(); ++col) {
    std::string_view cell = grid.Cell(col, 0);
    out.append(cell);
    out.push_back(kTab);
    if (cell == timeHeading) out.push_back(kTab);
    if (cell == dateHeading) out.push_back(kTab);
  }
  EndLine(out);
  const std::vector<std::size_t> headings = HeadingLengths(grid, 0, grid.ColCount() - 1);
  for (int row = 1; row < grid.RowCount(); ++row) AppendDataLine(out, grid, row, 0, headings);
  return out;
}

std::string BuildBlockCopyText(const GridData& grid, const GridRect& block, int /*lang*/) {
  const int left = std::min(block.left, block.right);
  const int right = std::max(block.left, block.right);
  const int top = std::min(block.top, block.bottom);
  const int bottom = std::max(block.top, block.bottom);
  const std::vector<std::size_t> headings = HeadingLengths(grid, left, right);
  std::string out;
  for (int row = top; row <= bottom; ++row) AppendDataLine(out, grid, row, left, headings);
  return out;
}

std::optional<std::string> ACopyTableExecute(const GridData& grid, int lang) {
  if (ArchiveCount == 0) return RefuseWithoutArchive(lang);
  return BuildTableCopyText(grid, lang);
}

std::optional<std::string> ACopyBlockTableExecute(const GridData& grid, int lang) {
  if (ArchiveCount == 0) return RefuseWithoutArchive(lang);
  return BuildBlockCopyText(grid, grid.Selection(), lang);
}

}  // namespace rz47
