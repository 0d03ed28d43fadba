// The gauge's material table as the program keeps it: the material name table
// (20 materials by 2 languages, names of the Material column), the 13 material
// records last received, and the pure functions that read and build a record.
//
// MaterialNames and MaterialRecords are program-wide. The worker writes them during
// the MaterialsRead step; the UI thread reads them only after that step has handed
// over (the decode, the materials window), so no lock is needed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/wire_format.h"

namespace rz47 {

constexpr int kNameTableSize = 20;  // materials 0..19 name the Material column
constexpr int kGaugeMaterialCount = 13;  // materials 0..12 live in the gauge
constexpr int kLanguageCount = 2;

// Names in Windows-1251, [material][language].
using MaterialNameTable = std::array<std::array<std::string, kLanguageCount>, kNameTableSize>;
extern MaterialNameTable MaterialNames;
MaterialNameTable DefaultMaterialNames();

// The name of material `n` in language `lang`, or nullopt beyond the table.
std::optional<std::string> MaterialName(int n, int lang);

// Material record, 52 bytes, little-endian:
//
//   |  0..20   |  21..41  | 42..43 |  44  | 45..47 |  48..49   | 50..51 |
//   | ru name  | en name  | speed  | num  | unused | 0xAA 0xAA |  CRC   |
//
// A name field is counted: byte 0 the length L, bytes 1..L the name.
using MaterialRecord = std::array<std::uint8_t, kMaterialRecordSize>;
extern std::array<MaterialRecord, kGaugeMaterialCount> MaterialRecords;

constexpr std::size_t kRussianNameOffset = 0;
constexpr std::size_t kEnglishNameOffset = 21;
constexpr std::size_t kNameFieldSize = 21;
constexpr std::size_t kNameMaxLength = 20;
constexpr std::size_t kSpeedOffset = 42;
constexpr std::size_t kNumberOffset = 44;

// Reads a counted name field: a length of 1..20 gives that many bytes, cut at a zero
// byte among them; 0 or 21 and more give the empty name.
std::string ReadNameField(std::span<const std::uint8_t, kNameFieldSize> field);
// Writes at most the first 20 characters of `name` with their count, then a zero
// when fewer than 20; the bytes after that zero keep their contents.
void WriteNameField(std::span<std::uint8_t, kNameFieldSize> field, std::string_view name);

std::uint16_t MaterialSpeed(const MaterialRecord& record);
std::uint8_t MaterialNumber(const MaterialRecord& record);

// Rebuilds both name fields and the speed of `record` and recomputes its CRC; every
// other byte stays as received.
void RebuildMaterialRecord(MaterialRecord& record, std::string_view russianName,
                           std::string_view englishName, std::uint16_t speed);

// A speed cell of the materials grid as the write takes it: a whole decimal number
// from 0 to 65535 (blanks around it allowed), else nullopt.
std::optional<std::uint16_t> ParseMaterialSpeed(std::string_view cell);

}  // namespace rz47
