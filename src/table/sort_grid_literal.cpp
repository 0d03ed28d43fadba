#include "table/sort_grid_literal.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/collation.h"
#include "platform/format_settings.h"
#include "table/columns.h"

namespace rz47 {
namespace {

struct TMyData {
  int row = 0;
  std::string textKey;
  std::int32_t intKey = 0;
  double realKey = 0;
};

// Dates count days from 30 December 1899 with the time as the fraction of the day.
double DayFraction(const TimeOfDay& t) { return (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0; }

TMyData ReadEntry(const GridData& grid, int column, int row, const FormatSettings& fs) {
  TMyData entry;
  entry.row = row;
  std::string_view cell = grid.Cell(column, row);
  switch (KindOfColumn(column)) {
    case ColumnKind::Integer:
      entry.intKey = ParseInt32(cell);
      break;
    case ColumnKind::Time:
      entry.realKey = DayFraction(ParseTime(cell, fs));
      break;
    case ColumnKind::DateTime:
      entry.realKey = static_cast<double>(DaysFromCivil(ParseDate(cell, fs)) -
                                          DaysFromCivil(CivilDate{1899, 12, 30})) +
                      DayFraction(ParseTime(grid.Cell(1, row), fs));
      break;
    case ColumnKind::Real:
      entry.realKey = ParseDouble(cell, fs);
      break;
    case ColumnKind::Text:
      entry.textKey = std::string(cell);
      break;
  }
  return entry;
}

struct EntryComparer {
  ColumnKind kind;
  int direction;
  const TextCollator& collator;

  template <class T>
  int Signed(T a, T b) const {
    int r = a > b ? 1 : a < b ? -1 : 0;
    return direction == 1 ? r : -r;
  }

  int operator()(const TMyData* a, const TMyData* b) const {
    switch (kind) {
      case ColumnKind::Integer:
        return Signed(a->intKey, b->intKey);
      case ColumnKind::Text:
        return direction == 1 ? collator.Compare(a->textKey, b->textKey)
                              : collator.Compare(b->textKey, a->textKey);
      default:
        return Signed(a->realKey, b->realKey);
    }
  }
};

void QuickSort(std::vector<TMyData*>& list, int lo, int hi, const EntryComparer& compare) {
  int i = 0;
  do {
    i = lo;
    int j = hi;
    const TMyData* pivot = list[(lo + hi) / 2];
    do {
      while (compare(list[i], pivot) < 0) ++i;
      while (compare(list[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(list[i], list[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (lo < j) QuickSort(list, lo, j, compare);
    lo = i;
  } while (i < hi);
}

void ExchangeRows(GridData& grid, int a, int b) {
  if (a == b) return;
  std::vector<std::string> rowA, rowB;
  for (int c = 0; c < grid.ColCount(); ++c) {
    rowA.emplace_back(grid.Cell(c, a));
    rowB.emplace_back(grid.Cell(c, b));
  }
  grid.SetRow(a, std::vector<std::string_view>(rowB.begin(), rowB.end()));
  grid.SetRow(b, std::vector<std::string_view>(rowA.begin(), rowA.end()));
}

}  // namespace

void SortGridByRowSearch(GridData& grid, int column, int direction, const FormatSettings& settings,
                         const TextCollator& collator) {
  const int fixed = GridData::FixedRows();
  if (direction == 0 || grid.RowCount() <= fixed) return;
  std::vector<std::unique_ptr<TMyData>> entries;
  std::vector<TMyData*> list;
  std::vector<int> rows;
  for (int r = fixed; r < grid.RowCount(); ++r) {
    entries.push_back(std::make_unique<TMyData>(ReadEntry(grid, column, r, settings)));
    list.push_back(entries.back().get());
    rows.push_back(r);
  }
  QuickSort(list, 0, static_cast<int>(list.size()) - 1, EntryComparer{KindOfColumn(column), direction, collator});
  for (int i = 0; i < static_cast<int>(list.size()); ++i) {
    const int o = list[i]->row;
    const int p = static_cast<int>(std::find(rows.begin(), rows.end(), o) - rows.begin());
    ExchangeRows(grid, fixed + p, fixed + i);
    std::swap(rows[p], rows[i]);
  }
}

}  // namespace rz47
