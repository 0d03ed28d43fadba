// Locale-aware, case-sensitive comparison of Windows-1251 texts (ICU collation).
//
// The collator follows the user's locale (LC_ALL, LC_COLLATE, LANG), so Russian texts
// sort as a Russian reader expects: Cyrillic before Latin, "ё" with "е", lower case
// before upper case of the same letter. Thread-safe after construction (each
// TextCollator owns its ICU collator; do not share one between threads).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace rz47 {

class TextCollator {
 public:
  // `localeName` such as "ru_RU"; empty takes the environment's collation locale.
  explicit TextCollator(std::string_view localeName = {});
  ~TextCollator();
  TextCollator(const TextCollator&) = delete;
  TextCollator& operator=(const TextCollator&) = delete;

  // <0, 0, >0 as a sorts before, with, after b.
  int Compare(std::string_view a, std::string_view b) const;
  // A byte key whose plain byte order (std::string::compare) equals Compare's order;
  // computing keys once makes sorting a million rows cheap.
  std::string SortKey(std::string_view text) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The locale name the environment asks collation to follow ("ru_RU", "en_US", "" for C).
std::string EnvironmentCollationLocale();

}  // namespace rz47
