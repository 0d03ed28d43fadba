#include "device/archive_decode.h"

#include <bit>
#include <exception>
#include <string_view>
#include <unordered_set>

#include "device/materials.h"
#include "table/grid_data.h"

namespace rz47 {
namespace {

constexpr std::string_view kNotANumber = "NAN";
constexpr std::int64_t kSecondsPerDay = 86400;

enum RowColumn { kColNo = 0, kColTime = 1, kColDate = 2, kColSeries = 3, kColSpeed = 7 };

std::uint32_t LittleEndian32(std::span<const std::uint8_t, kArchiveRecordSize> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::int64_t Moment(const CivilDate& date, const TimeOfDay& time) {
  return DaysFromCivil(date) * kSecondsPerDay + time.hour * 3600 + time.minute * 60 + time.second;
}

// Identifies a record without a valid moment by the texts of columns 3..7 of its row.
std::string UndatedKey(std::span<const std::string_view> tail) {
  std::string key;
  for (std::string_view text : tail) {
    key.append(text);
    key.push_back('\0');
  }
  return key;
}

bool IsUndatedRow(const GridData& grid, int row) {
  return grid.Cell(kColTime, row) == kNotANumber && grid.Cell(kColDate, row) == kNotANumber;
}

std::string UndatedKeyOfRow(const GridData& grid, int row) {
  std::array<std::string_view, kColSpeed - kColSeries + 1> tail;
  for (int col = kColSeries; col <= kColSpeed; ++col) tail[col - kColSeries] = grid.Cell(col, row);
  return UndatedKey(tail);
}

// Writes row `row` from `record`: its number in column 0, the record's texts after it.
void WriteRow(GridData& grid, int row, const std::array<std::string, 7>& texts) {
  const std::string number = std::to_string(row);
  std::vector<std::string_view> cells{number};
  cells.insert(cells.end(), texts.begin(), texts.end());
  grid.SetRow(row, cells);
}

}  // namespace

std::uint32_t CountArchiveRecords(std::span<const std::uint8_t, kParamsSize> block) {
  std::uint32_t count = 0;
  for (std::size_t i = 0; i < kOccupancyBytes; ++i) count += std::popcount(block[i]);
  return count;
}

ArchiveRecord DecodeArchiveRecord(std::span<const std::uint8_t, kArchiveRecordSize> bytes) {
  ArchiveRecord record;
  record.time = {bytes[2], bytes[1], bytes[0]};
  record.date = {2000 + bytes[5], bytes[4], bytes[3]};
  record.number = bytes[6];
  record.series = bytes[7];
  record.material = bytes[8];
  record.thickness = std::bit_cast<float>(LittleEndian32(bytes, 12));
  record.speed = LittleEndian32(bytes, 16);
  return record;
}

std::optional<std::int64_t> RecordMoment(const ArchiveRecord& record) {
  if (!IsValidDate(record.date) || !IsValidTime(record.time)) return std::nullopt;
  return Moment(record.date, record.time);
}

std::optional<std::int64_t> RowMoment(const GridData& grid, int row, const FormatSettings& fs) {
  // A row from a file may hold anything; one that does not parse simply matches nothing.
  try {
    const CivilDate date = ParseDate(grid.Cell(kColDate, row), fs);
    const TimeOfDay time = ParseTime(grid.Cell(kColTime, row), fs);
    return Moment(date, time);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::array<std::string, 7> ArchiveRowTexts(const ArchiveRecord& record, int lang,
                                           const FormatSettings& fs) {
  const bool dated = RecordMoment(record).has_value();
  return {
      dated ? FormatTimeHms(record.time) : std::string(kNotANumber),
      dated ? FormatDate(record.date, fs) : std::string(kNotANumber),
      std::to_string(record.series),
      std::to_string(record.number),
      MaterialName(record.material, lang).value_or(std::string(kNotANumber)),
      FormatFixed2(static_cast<double>(record.thickness), fs),
      std::to_string(record.speed),
  };
}

void DecodeArchiveIntoGrid(GridData& grid, std::span<const ArchiveRecordBytes> records, int lang,
                           const FormatSettings& fs) {
  grid.BeginUpdate();
  if (grid.IsEmpty()) {
    if (records.empty()) {
      grid.SetRowCount(grid.RowCount() + 1);
    } else {
      grid.SetRowCount(static_cast<int>(records.size()) + 1);
      for (std::size_t j = 0; j < records.size(); ++j) {
        WriteRow(grid, static_cast<int>(j) + 1, ArchiveRowTexts(DecodeArchiveRecord(records[j]), lang, fs));
      }
    }
    grid.EndUpdate();
    return;
  }

  // Every row's moment is parsed once; the sets then answer "is this record in the
  // table?" as a scan of all rows would, rows appended below included.
  std::unordered_set<std::int64_t> moments;
  std::unordered_set<std::string> undated;
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (auto moment = RowMoment(grid, row, fs)) moments.insert(*moment);
    else if (IsUndatedRow(grid, row)) undated.insert(UndatedKeyOfRow(grid, row));
  }
  for (const ArchiveRecordBytes& bytes : records) {
    const ArchiveRecord record = DecodeArchiveRecord(bytes);
    const auto texts = ArchiveRowTexts(record, lang, fs);
    if (auto moment = RecordMoment(record)) {
      if (!moments.insert(*moment).second) continue;
    } else {
      const std::array<std::string_view, 5> tail{texts[2], texts[3], texts[4], texts[5], texts[6]};
      if (!undated.insert(UndatedKey(tail)).second) continue;
    }
    const int row = grid.RowCount();
    grid.SetRowCount(row + 1);
    WriteRow(grid, row, texts);
  }
  grid.EndUpdate();
}

}  // namespace rz47
