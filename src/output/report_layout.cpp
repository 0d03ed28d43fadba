#include "output/report_layout.h"

#include <algorithm>
#include <cmath>

namespace rz47::report_mm {

int BodyLinesPerPage() {
  const double room = kPageHeight - 2 * kMargin - kHeaderHeight - kFooterHeight;
  // A hair of tolerance so rounding in the sum cannot drop a line that fits.
  return std::max(1, static_cast<int>(std::floor(room / kBodyLineHeight + 1e-9)));
}

int PageCount(int bodyLines) {
  const int perPage = BodyLinesPerPage();
  return std::max(1, (bodyLines + perPage - 1) / perPage);
}

}  // namespace rz47::report_mm
