#include "output/workbook_layout.h"

#include <algorithm>
#include <array>

namespace rz47 {
namespace {

// Cell padding an auto-fit adds around the text, in digit widths (about 5 pixels
// of a 7-pixel digit).
constexpr double kCellPadding = 0.7;

constexpr bool IsIn(unsigned char c, std::string_view set) {
  for (char s : set) {
    if (static_cast<unsigned char>(s) == c) return true;
  }
  return false;
}

// Relative advance of each Windows-1251 byte in a proportional sans font, digits = 1.
constexpr std::array<float, 256> MakeWidthTable() {
  std::array<float, 256> table{};
  for (int i = 0; i < 256; ++i) {
    const auto c = static_cast<unsigned char>(i);
    float w = 1.0F;
    if (IsIn(c, " .,:;!|'`()[]{}-ijlIftr\"")) {
      w = 0.5F;
    } else if (IsIn(c, "MWmw@%")) {
      w = 1.6F;
    } else if (c >= 'A' && c <= 'Z') {
      w = 1.2F;
    } else if (IsIn(c, "\xC6\xCC\xD4\xD8\xD9\xDB\xDE")) {  // Ж М Ф Ш Щ Ы Ю
      w = 1.6F;
    } else if ((c >= 0xC0 && c <= 0xDF) || c == 0xA8) {  // other capitals, Ё
      w = 1.2F;
    } else if (IsIn(c, "\xE6\xEC\xF4\xF8\xF9\xFB\xFE")) {  // ж м ф ш щ ы ю
      w = 1.4F;
    } else if (c < 0x20) {
      w = 0.0F;  // control characters take no room
    }
    table[i] = w;
  }
  return table;
}

constexpr std::array<float, 256> kWidths = MakeWidthTable();

}  // namespace

std::vector<SheetPlan> PlanSheets(int tableRows, std::string_view prefixCp1251) {
  std::vector<SheetPlan> sheets;
  int first = 0;
  do {
    SheetPlan sheet;
    sheet.name = std::string(prefixCp1251) + std::to_string(sheets.size() + 1);
    sheet.firstRow = first;
    sheet.rowCount = std::clamp(tableRows - first, 0, kRowsPerSheet);
    sheets.push_back(std::move(sheet));
    first += kRowsPerSheet;
  } while (first < tableRows);
  return sheets;
}

double TextDisplayWidth(std::string_view cp1251) {
  double width = 0.0;
  for (char c : cp1251) width += kWidths[static_cast<unsigned char>(c)];
  return width;
}

double FittedColumnWidth(double textWidth) {
  return textWidth > 0.0 ? textWidth + kCellPadding : kDefaultSheetColumnWidth;
}

std::vector<double> FitSheetColumns(const GridData& grid, const SheetPlan& sheet, int blockCols) {
  std::vector<double> widest(blockCols, 0.0);
  const int cols = std::min(blockCols, grid.ColCount());
  for (int r = sheet.firstRow; r < sheet.firstRow + sheet.rowCount; ++r) {
    for (int c = 0; c < cols; ++c) {
      std::string_view text = grid.Cell(c, r);
      // Cheap bound first: no text can measure more than 1.6 per byte.
      if (text.size() * 1.6 > widest[c]) widest[c] = std::max(widest[c], TextDisplayWidth(text));
    }
  }
  std::transform(widest.begin(), widest.end(), widest.begin(), FittedColumnWidth);
  return widest;
}

}  // namespace rz47
