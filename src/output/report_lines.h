// The printed report's text: one line per table row, each cell trimmed of
// characters up to code 32 at both ends and padded with blanks to its column's
// minimum width (a longer text is kept whole and runs straight into the next
// column), so a monospaced font lines the columns up. Line 0 is the heading line.
//
// ReportBodyLines hands the lines out as the report's bands print them: the
// heading line for every page header, and for the body one blank line followed by
// lines 1, 2, ... After the last line it starts over, so a second rendering pass
// (printing after previewing) shows the same body again.
// Windows-1251 text throughout. Building is pure; a ReportBodyLines object belongs
// to one report and is used by one thread at a time.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/format_settings.h"
#include "table/grid_data.h"

namespace rz47 {

inline constexpr std::array<int, 10> kReportColumnWidths{10, 10, 15, 15, 15, 15, 15, 15, 13, 27};
// Columns past the tenth get the width of a data column.
inline constexpr int kReportExtraColumnWidth = 15;

int ReportColumnWidth(int col);

// The text with every character of code 32 or less removed from both ends.
std::string_view TrimReportCell(std::string_view cp1251);

// The lines of a report, kept end to end in one buffer: a million-row table
// costs one allocation instead of a million.
class ReportLines {
 public:
  ReportLines() = default;
  ReportLines(std::initializer_list<std::string_view> lines);

  int Count() const { return static_cast<int>(ends_.size()); }
  std::string_view Line(int index) const;
  void Append(std::string_view line);
  void Reserve(std::size_t lines, std::size_t bytes);

 private:
  std::string text_;
  std::vector<std::size_t> ends_;
};

std::string BuildReportLine(const GridData& grid, int row);
ReportLines BuildReportLines(const GridData& grid);

// The moment the report is made, in local time.
struct LocalMoment {
  CivilDate date;
  TimeOfDay time;
  int millisecond = 0;
};

// prefix + short date, then a blank and the time in the long time format; at
// exactly midnight the time is left out (and so is the blank).
std::string ReportTitle(std::string_view prefixCp1251, const LocalMoment& moment,
                        const FormatSettings& fs = CurrentFormatSettings());

class ReportBodyLines {
 public:
  explicit ReportBodyLines(ReportLines lines);

  // Lines a full pass prints in the body: one per table row (the first blank).
  int BuiltLineCount() const { return lines_.Count(); }
  // The page header's line.
  std::string_view HeadingLine() const;
  // The next body line: blank while the counter is 0, else line[counter]; the
  // counter then advances, wrapping to 0 after the last line.
  std::string NextBodyLine();

 private:
  ReportLines lines_;
  int counter_ = 0;
};

}  // namespace rz47
