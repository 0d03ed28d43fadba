// Language index and text pairs.
//
// Every user-visible text is a (Russian, English) pair picked by the program-wide
// language index: 0 = Russian, 1 = English, 0 at start. Pairs are written in UTF-8 in
// the source and handed out as Windows-1251 (`Text`) or UTF-8 (`TextUtf8`).
// `LangIndex` is written only by the UI thread's language menu; a worker reads it
// while it fills the table (the menu cannot be used then).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rz47 {

extern std::int8_t LangIndex;

struct TextPair {
  std::string_view ru;  // UTF-8
  std::string_view en;  // UTF-8
};

// The element at `lang` (anything but 0 picks English).
std::string_view PickUtf8(const TextPair& pair, int lang);
// Windows-1251 text of the pair in language `lang`, or in the current language.
std::string Text(const TextPair& pair, int lang);
std::string Text(const TextPair& pair);
std::string TextUtf8(const TextPair& pair);

}  // namespace rz47
