// The report's page layout in millimetres: A4 portrait, 10 mm margins, a page
// header band (title, heading line), one band per body line and a page footer band
// (page number) at the foot of every page. Positions inside a band are from the
// band's top-left corner. Also how many body lines a page takes.
// Constants and pure functions; any thread.
#pragma once

namespace rz47::report_mm {

inline constexpr double kPageWidth = 210.0;
inline constexpr double kPageHeight = 297.0;
inline constexpr double kMargin = 10.0;  // all four sides
inline constexpr double kBandWidth = 190.08;

inline constexpr double kHeaderHeight = 8.47;
inline constexpr double kTitleLeft = 64.35;
inline constexpr double kTitleTop = 0.0;
inline constexpr double kHeadingTop = 5.08;

inline constexpr double kBodyLineHeight = 3.81;

inline constexpr double kFooterHeight = 8.47;
inline constexpr double kPageNumberTop = 3.39;
inline constexpr double kPageNumberWidth = 12.7;
// Our choice: the page number sits in the middle of the footer.
inline constexpr double kPageNumberLeft = (kBandWidth - kPageNumberWidth) / 2;

inline constexpr double kTitlePointSize = 10.0;  // sans, bold
inline constexpr double kLinePointSize = 8.0;    // monospaced
inline constexpr double kFooterPointSize = 10.0; // sans

// Body lines that fit between the page header and the page footer.
int BodyLinesPerPage();
// Pages for a report of `bodyLines` body lines (a report always has a page).
int PageCount(int bodyLines);

}  // namespace rz47::report_mm
