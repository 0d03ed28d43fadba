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

ReportLines::ReportLines(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) Append(line);
}

std::string_view ReportLines::Line(int index) const {
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void ReportLines::Append(std::string_view line) {
  text_.append(line);
  ends_.push_back(text_.size());
}

void ReportLines::Reserve(std::size_t lines, std::size_t bytes) {
  ends_.reserve(lines);
  text_.reserve(bytes);
}

ReportLines BuildReportLines(const GridData& grid) {
  ReportLines lines;
  std::size_t lineWidth = 0;
  for (int col = 0; col < grid.ColCount(); ++col) lineWidth += static_cast<std::size_t>(ReportColumnWidth(col));
  // Padded cells make most lines exactly this long; the slack covers a heading or
  // a few cells running on without regrowing (and copying) the whole buffer.
  const auto rows = static_cast<std::size_t>(grid.RowCount());
  lines.Reserve(rows, rows * lineWidth + rows / 8 + 4096);
  std::string scratch;
  for (int row = 0; row < grid.RowCount(); ++row) {
    scratch.clear();
    AppendReportLine(grid, row, scratch);
    lines.Append(scratch);
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

ReportBodyLines::ReportBodyLines(ReportLines lines) : lines_(std::move(lines)) {
  if (lines_.Count() == 0) lines_.Append({});  // a grid always has its heading row
}

std::string_view ReportBodyLines::HeadingLine() const { return lines_.Line(0); }

std::string ReportBodyLines::NextBodyLine() {
  std::string text = counter_ == 0 ? std::string() : std::string(lines_.Line(counter_));
  if (counter_ < BuiltLineCount() - 1) {
    ++counter_;
  } else {
    counter_ = 0;
  }
  return text;
}

}  // namespace rz47
