// The gauge's measurement archive: the parameter block's record count, the 24-byte
// archive record, the texts of a table row, and the decode of the records into the
// measurement table (a fresh table, or an append of the records whose date and time
// the table does not hold yet). Pure functions; the decode runs on the thread that
// owns the grid (the UI thread).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/wire_format.h"
#include "platform/format_settings.h"

namespace rz47 {

class GridData;

// Parameter block, 204 bytes:
//
//   |   0..199           | 200..201  | 202..203 |
//   | occupancy bits     | 0xAA 0xAA |   CRC    |
//
// One bit per archive slot (1,600 slots); only the number of 1 bits matters.
constexpr std::size_t kOccupancyBytes = 200;
std::uint32_t CountArchiveRecords(std::span<const std::uint8_t, kParamsSize> block);

// Archive record, 24 bytes, little-endian:
//
//   | 0   | 1   | 2    | 3   | 4     | 5       | 6      | 7      | 8        |
//   | sec | min | hour | day | month | year-2000 | number | series | material |
//   | 9..11  | 12..15           | 16..19       | 20..21    | 22..23 |
//   | unused | thickness, float | speed, u32   | 0xAA 0xAA | CRC    |
using ArchiveRecordBytes = std::array<std::uint8_t, kArchiveRecordSize>;

struct ArchiveRecord {
  CivilDate date;   // may be impossible (month 13, day 31 in June ...)
  TimeOfDay time;   // may be impossible (hour 24 ...)
  std::uint8_t number = 0;
  std::uint8_t series = 0;
  std::uint8_t material = 0;
  float thickness = 0;
  std::uint32_t speed = 0;
};

ArchiveRecord DecodeArchiveRecord(std::span<const std::uint8_t, kArchiveRecordSize> bytes);

// The moment of a record or a row in whole seconds since 1970-01-01 (the day number
// plus the time of day), or nullopt when the date or time is impossible.
std::optional<std::int64_t> RecordMoment(const ArchiveRecord& record);
// The moment a row's Date and Time texts give, parsed with the regional settings, or
// nullopt when either does not parse.
std::optional<std::int64_t> RowMoment(const GridData& grid, int row, const FormatSettings& fs);

// Texts of columns 1..7 of a row for `record`: time "hh:mm:ss", regional short date
// ("NAN" for both when the date or time is impossible), series, number, material name
// in `lang` ("NAN" for material 20 and up), thickness "0.00" / "NAN" / "INF" / "-INF",
// speed as an unsigned 32-bit number.
std::array<std::string, 7> ArchiveRowTexts(const ArchiveRecord& record, int lang,
                                           const FormatSettings& fs);

// Decodes `records` into the measurement table in language `lang`.
// Empty table (cell (0, 1) empty): the table becomes exactly one row per record, in
// order; with no record it gains one empty row. Table with rows: each record whose
// moment matches no row (rows appended by this decode included) is appended at the
// end, column 0 numbering it. A row whose Date or Time does not parse matches no
// record; a record with an impossible moment matches a row whose Time and Date read
// "NAN" and whose other texts equal its own.
void DecodeArchiveIntoGrid(GridData& grid, std::span<const ArchiveRecordBytes> records, int lang,
                           const FormatSettings& fs = CurrentFormatSettings());

}  // namespace rz47
