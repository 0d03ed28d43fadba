#include "output/report_lines.h"

namespace rz47 {

int ReportColumnWidth(int col) {
  return col >= 0 && col < static_cast<int>(kReportColumnWidths.size()) ? kReportColumnWidths[col]
                                                                       : kReportExtraColumnWidth;
}

std::string_view TrimReportCell(std::string_view text) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

void AppendReportLine(const GridData& grid, int row, std::string& line) {
  for (int col = 0; col < grid.ColCount(); ++col) {
    std::string_view cell = TrimReportCell(grid.Cell(col, row));
    line.append(cell);
    const std::size_t width = static_cast<std::size_t>(ReportColumnWidth(col));
    if (cell.size() < width) line.append(width - cell.size(), ' ');
  }
}

}  // namespace

std::string BuildReportLine(const GridData& grid, int row) {
  std::string line;
  AppendReportLine(grid, row, line);
  return line;
}

std::vector<std::string> BuildReportLines(const GridData& grid) {
  std::vector<std::string> lines;
  lines.reserve(grid.RowCount());
  // One scratch line keeps its capacity; each stored line is allocated once, at
  // its final size.
  std::string scratch;
  for (int row = 0; row < grid.RowCount(); ++row) {
    scratch.clear();
    AppendReportLine(grid, row, scratch);
    lines.emplace_back(scratch);
  }
  return lines;
}

std::string ReportTitle(std::string_view prefixCp1251, const LocalMoment& moment, const FormatSettings& fs) {
  std::string title(prefixCp1251);
  title += FormatDate(moment.date, fs);
  const bool midnight = moment.time == TimeOfDay{} && moment.millisecond == 0;
  if (!midnight) {
    title += ' ';
    title += FormatTimeOfDay(moment.time, fs.longTimeFormat);
  }
  return title;
}

ReportBodyLines::ReportBodyLines(std::vector<std::string> lines) : lines_(std::move(lines)) {
  if (lines_.empty()) lines_.emplace_back();  // a grid always has its heading row
}

const std::string& ReportBodyLines::HeadingLine() const { return lines_.front(); }

std::string ReportBodyLines::NextBodyLine() {
  std::string text = counter_ == 0 ? std::string() : lines_[counter_];
  if (counter_ < BuiltLineCount() - 1) {
    ++counter_;
  } else {
    counter_ = 0;
  }
  return text;
}

}  // namespace rz47
