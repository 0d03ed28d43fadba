#include "table/sort_grid.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/collation.h"
#include "platform/format_settings.h"
#include "table/columns.h"

namespace rz47 {
namespace {

constexpr int kTimeColumn = 1;
constexpr std::int64_t kSecondsPerDay = 86400;
// Distinct texts whose collation keys are remembered; material names repeat a lot,
// free-form columns of a million distinct texts must not grow the cache without end.
constexpr std::size_t kMaxCachedTextKeys = 65536;

// One data row's key and where the row stood (counted from the first data row).
template <class Key>
struct Entry {
  Key key;
  int row;
};

std::int64_t SecondsOfDay(std::string_view text, const FormatSettings& fs) {
  TimeOfDay t = ParseTime(text, fs);
  return t.hour * 3600 + t.minute * 60 + t.second;
}

int Compare3(std::int64_t a, std::int64_t b) { return a > b ? 1 : a < b ? -1 : 0; }
// A NaN ("NAN" cells) compares equal to everything, as a plain greater/less test reads it.
int Compare3(double a, double b) { return a > b ? 1 : a < b ? -1 : 0; }
// Collation keys order as plain unsigned bytes.
int Compare3(std::string_view a, std::string_view b) {
  int c = a.compare(b);
  return c > 0 ? 1 : c < 0 ? -1 : 0;
}

// The table's classic quicksort: the middle entry as pivot (the entry, not its
// position), Hoare-style partition that also exchanges entries equal to the pivot,
// then the left part and the right part. The two parts are disjoint, so working on
// them in another order gives the same result; keeping the larger part on a list
// and going on with the smaller bounds the bookkeeping at O(log n) for any input.
template <class Key>
void QuickSortEntries(std::vector<Entry<Key>>& entries, int sign) {
  if (entries.size() < 2) return;
  struct Range {
    int lo;
    int hi;
  };
  std::vector<Range> pending{{0, static_cast<int>(entries.size()) - 1}};
  while (!pending.empty()) {
    auto [lo, hi] = pending.back();
    pending.pop_back();
    for (;;) {
      int i = lo;
      int j = hi;
      const Key pivot = entries[lo + (hi - lo) / 2].key;
      do {
        while (sign * Compare3(entries[i].key, pivot) < 0) ++i;
        while (sign * Compare3(entries[j].key, pivot) > 0) --j;
        if (i <= j) {
          std::swap(entries[i], entries[j]);
          ++i;
          --j;
        }
      } while (i <= j);
      const bool left = lo < j;
      const bool right = i < hi;
      if (left && right) {
        if (j - lo > hi - i) {
          pending.push_back({lo, j});
          lo = i;
        } else {
          pending.push_back({i, hi});
          hi = j;
        }
      } else if (left) {
        hi = j;
      } else if (right) {
        lo = i;
      } else {
        break;
      }
    }
  }
}

// Reads every data row's key first (a conversion error leaves the grid untouched),
// sorts, then moves the rows once.
template <class Key, class ReadKey>
void SortRowsBy(GridData& grid, int sign, ReadKey readKey) {
  const int first = GridData::FixedRows();
  std::vector<Entry<Key>> entries;
  entries.reserve(grid.RowCount() - first);
  for (int r = first; r < grid.RowCount(); ++r) entries.push_back({readKey(r), r - first});
  QuickSortEntries(entries, sign);
  std::vector<int> order;
  order.reserve(entries.size());
  for (const Entry<Key>& e : entries) order.push_back(e.row);
  grid.PermuteRows(first, order);
}

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Collation keys of the column's texts, one arena for all rows, computed once per
// distinct text while the cache has room.
void SortTextColumn(GridData& grid, int column, int sign, const TextCollator& collator) {
  const int first = GridData::FixedRows();
  std::string arena;
  std::vector<std::pair<std::size_t, std::size_t>> spans;  // offset, length per data row
  spans.reserve(grid.RowCount() - first);
  std::unordered_map<std::string, std::pair<std::size_t, std::size_t>, TextHash, std::equal_to<>> cache;
  for (int r = first; r < grid.RowCount(); ++r) {
    std::string_view text = grid.Cell(column, r);
    if (auto hit = cache.find(text); hit != cache.end()) {
      spans.push_back(hit->second);
      continue;
    }
    std::string key = collator.SortKey(text);
    std::pair<std::size_t, std::size_t> span{arena.size(), key.size()};
    arena += key;
    spans.push_back(span);
    if (cache.size() < kMaxCachedTextKeys) cache.emplace(std::string(text), span);
  }
  const std::string_view keys = arena;
  SortRowsBy<std::string_view>(grid, sign, [&](int r) {
    const auto& [offset, length] = spans[r - first];
    return keys.substr(offset, length);
  });
}

void SortGridWith(GridData& grid, int column, int direction, const FormatSettings& fs,
                  const std::function<const TextCollator&()>& collator) {
  if (column < 0 || column >= grid.ColCount()) throw std::out_of_range("sort column out of range");
  if (direction == 0 || grid.RowCount() <= GridData::FixedRows()) return;
  const int sign = direction == 1 ? 1 : -1;
  switch (KindOfColumn(column)) {
    case ColumnKind::Integer:
      SortRowsBy<std::int64_t>(grid, sign, [&](int r) { return ParseInt32(grid.Cell(column, r)); });
      break;
    case ColumnKind::Time:
      SortRowsBy<std::int64_t>(grid, sign, [&](int r) { return SecondsOfDay(grid.Cell(column, r), fs); });
      break;
    case ColumnKind::DateTime:
      // The date orders as the full timestamp: its day plus the time of column 1.
      SortRowsBy<std::int64_t>(grid, sign, [&](int r) {
        return DaysFromCivil(ParseDate(grid.Cell(column, r), fs)) * kSecondsPerDay +
               SecondsOfDay(grid.Cell(kTimeColumn, r), fs);
      });
      break;
    case ColumnKind::Real:
      SortRowsBy<double>(grid, sign, [&](int r) { return ParseDouble(grid.Cell(column, r), fs); });
      break;
    case ColumnKind::Text:
      SortTextColumn(grid, column, sign, collator());
      break;
  }
}

}  // namespace

void SortGrid(GridData& grid, int column, int direction) {
  std::optional<TextCollator> collator;
  SortGridWith(grid, column, direction, CurrentFormatSettings(), [&]() -> const TextCollator& {
    if (!collator) collator.emplace();
    return *collator;
  });
}

void SortGrid(GridData& grid, int column, int direction, const FormatSettings& settings,
              const TextCollator& collator) {
  SortGridWith(grid, column, direction, settings, [&]() -> const TextCollator& { return collator; });
}

}  // namespace rz47
