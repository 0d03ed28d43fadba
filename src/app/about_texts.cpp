#include "app/about_texts.h"

#include <array>
#include <vector>

#include "app/main_texts.h"
#include "platform/cp1251.h"

namespace rz47 {
namespace {

struct MonthName {
  std::string_view abbreviation;
  TextPair name;
};

// English April is " apri ", as the program has always shown it.
constexpr std::array<MonthName, 12> kMonths{{
    {"Jan", {" января ", " january "}},    {"Feb", {" февраля ", " february "}},
    {"Mar", {" марта ", " march "}},       {"Apr", {" апреля ", " apri "}},
    {"May", {" мая ", " may "}},           {"Jun", {" июня ", " june "}},
    {"Jul", {" июля ", " july "}},         {"Aug", {" августа ", " august "}},
    {"Sep", {" сентября ", " september "}}, {"Oct", {" октября ", " october "}},
    {"Nov", {" ноября ", " november "}},   {"Dec", {" декабря ", " december "}},
}};

constexpr TextPair kCommentsPair{"тел./факс. ", "tel./fax"};
constexpr TextPair kLabel2Pair{" многоканальный ", " multichannel "};
constexpr TextPair kVersionWord{"Версия ", "Version "};
constexpr TextPair kOf{" от ", " of "};

// Splits like scanf's "%3s %2s %4s": blanks before a field are skipped, a field ends
// at a blank or at its maximum length.
std::vector<std::string> SplitBuildDate(std::string_view date) {
  constexpr std::array<std::size_t, 3> kWidths{3, 2, 4};
  std::vector<std::string> fields;
  std::size_t at = 0;
  for (std::size_t width : kWidths) {
    while (at < date.size() && date[at] == ' ') ++at;
    if (at >= date.size()) break;
    std::string field;
    while (at < date.size() && date[at] != ' ' && field.size() < width) field.push_back(date[at++]);
    fields.push_back(field);
  }
  return fields;
}

}  // namespace

AboutTexts ComposeAboutTexts(const VersionResource* info, std::string_view buildDate, int lang) {
  AboutTexts t;
  t.caption = Text(texts::kAbout, lang);
  t.productName = Text(texts::kProductName, lang);
  t.comments = Utf8ToCp1251("тел./факс.");
  t.label2 = Utf8ToCp1251("(многоканальный)");
  if (info == nullptr || info->values.empty()) return t;

  std::vector<std::string> fields = SplitBuildDate(buildDate);
  if (fields.size() != 3) return t;
  const TextPair* month = &kMonths[0].name;
  for (const MonthName& m : kMonths) {
    if (m.abbreviation == fields[0]) {
      month = &m.name;
      break;
    }
  }
  std::string suffix = Text(kOf, lang) + fields[1] + Text(*month, lang) + fields[2] + Utf8ToCp1251(" г.");

  t.comments = Text(kCommentsPair, lang);
  t.label2 = Text(kLabel2Pair, lang);

  std::optional<std::string> translation = info->Query("\\VarFileInfo\\Translation");
  if (!translation || translation->size() < 4) return t;
  auto word = [&](std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>((*translation)[i])) |
           static_cast<unsigned>(static_cast<unsigned char>((*translation)[i + 1])) << 8;
  };
  std::string base = "\\StringFileInfo\\" + TranslationKey(word(0), word(2)) + "\\";
  if (auto version = info->Query(base + "FileVersion")) {
    t.version = Text(kVersionWord, lang) + *version + suffix;
  }
  if (auto copyright = info->Query(base + "LegalCopyright")) t.copyright = *copyright;
  return t;
}

std::string MailTarget(std::string_view address, std::string_view applicationTitle) {
  return "mailto:" + std::string(address) + "?Subject=" + std::string(applicationTitle);
}

}  // namespace rz47
