#include "device/materials.h"

#include <algorithm>

#include "platform/convert_error.h"
#include "platform/format_settings.h"
#include "platform/text_pair.h"

namespace rz47 {
namespace {

// Names the program knows before the gauge has told it its own. Material 0's English
// name starts with the Cyrillic capital Es, as the gauge's own table spells it.
constexpr std::array<TextPair, 6> kNamedDefaults{{
    {"Бетон ", "\u0421oncrete"},
    {"Пенобетон", "Concr.Foam"},
    {"Газобетон", "Concr.Air"},
    {"Кирпич сил.", "Brick sil."},
    {"Кирпич обл.", "Brick tile"},
    {"Дерево", "Wood"},
}};
// Materials 6..19 are "Материал 1".."Материал 14" / "Material 1".."Material 14".
constexpr TextPair kNumberedDefault{"Материал ", "Material "};
constexpr int kFirstNumbered = static_cast<int>(kNamedDefaults.size());

}  // namespace

MaterialNameTable DefaultMaterialNames() {
  MaterialNameTable names;
  for (int n = 0; n < kNameTableSize; ++n) {
    for (int lang = 0; lang < kLanguageCount; ++lang) {
      names[n][lang] = n < kFirstNumbered
                           ? Text(kNamedDefaults[n], lang)
                           : Text(kNumberedDefault, lang) + std::to_string(n - kFirstNumbered + 1);
    }
  }
  return names;
}

MaterialNameTable MaterialNames = DefaultMaterialNames();
std::array<MaterialRecord, kGaugeMaterialCount> MaterialRecords{};

std::optional<std::string> MaterialName(int n, int lang) {
  if (n < 0 || n >= kNameTableSize) return std::nullopt;
  return MaterialNames[n][lang == 0 ? 0 : 1];
}

std::string ReadNameField(std::span<const std::uint8_t, kNameFieldSize> field) {
  const std::size_t length = field[0];
  if (length == 0 || length > kNameMaxLength) return {};
  auto begin = field.begin() + 1;
  auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(length), 0);
  return std::string(begin, end);
}

void WriteNameField(std::span<std::uint8_t, kNameFieldSize> field, std::string_view name) {
  const std::size_t length = std::min(name.size(), kNameMaxLength);
  field[0] = static_cast<std::uint8_t>(length);
  std::copy_n(name.begin(), length, field.begin() + 1);
  if (length < kNameMaxLength) field[length + 1] = 0;
}

std::uint16_t MaterialSpeed(const MaterialRecord& record) {
  return static_cast<std::uint16_t>(record[kSpeedOffset] | (record[kSpeedOffset + 1] << 8));
}

std::uint8_t MaterialNumber(const MaterialRecord& record) { return record[kNumberOffset]; }

void RebuildMaterialRecord(MaterialRecord& record, std::string_view russianName,
                           std::string_view englishName, std::uint16_t speed) {
  std::span<std::uint8_t, kMaterialRecordSize> bytes(record);
  WriteNameField(bytes.subspan<kRussianNameOffset, kNameFieldSize>(), russianName);
  WriteNameField(bytes.subspan<kEnglishNameOffset, kNameFieldSize>(), englishName);
  record[kSpeedOffset] = static_cast<std::uint8_t>(speed & 0xFF);
  record[kSpeedOffset + 1] = static_cast<std::uint8_t>(speed >> 8);
  SealBlock(bytes);
}

std::optional<std::uint16_t> ParseMaterialSpeed(std::string_view cell) {
  try {
    const std::int32_t value = ParseInt32(cell);
    if (value < 0 || value > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(value);
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

}  // namespace rz47
