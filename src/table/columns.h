// The measurement table's columns: heading pair, width at 120 ppi and the kind of
// value the sort reads from the cell texts. Columns past the eighth have no heading,
// the default width and sort as text.
#pragma once

#include <array>

#include "platform/text_pair.h"
#include "table/grid_data.h"

namespace rz47 {

enum class ColumnKind {
  Integer,   // 32-bit signed decimal
  Time,      // "hh:mm:ss"
  DateTime,  // short date of this column plus the time of column 1
  Text,      // locale collation
  Real,      // decimal with the regional separator
};

struct ColumnInfo {
  TextPair heading;
  int width;
  ColumnKind kind;
};

inline constexpr int kStandardColCount = 8;
inline constexpr int kStartRowCount = 9;

inline constexpr std::array<ColumnInfo, kStandardColCount> kColumns{{
    {{"№", "№"}, 40, ColumnKind::Integer},
    {{"Время", "Time"}, 86, ColumnKind::Time},
    {{"Дата", "Date"}, 88, ColumnKind::DateTime},
    {{"Серия", "Series"}, 102, ColumnKind::Integer},
    {{"Номер", "Number"}, 94, ColumnKind::Integer},
    {{"Материал", "Material"}, 118, ColumnKind::Text},
    {{"Толщина, мм", "Thickness, mm"}, 126, ColumnKind::Real},
    {{"Скорость звука, м/с", "Speed Sound, m/s"}, 184, ColumnKind::Integer},
}};

ColumnKind KindOfColumn(int col);

// Writes the heading row in language `lang`: "№", then the headings of the column
// table; columns past the eighth get the empty text.
void WriteHeadings(GridData& grid, int lang);

// Sets the standard column widths (columns past the eighth: the default 40).
void ApplyStandardWidths(GridData& grid);

}  // namespace rz47
