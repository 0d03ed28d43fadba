#include "platform/text_pair.h"

#include "platform/cp1251.h"

namespace rz47 {

std::int8_t LangIndex = 0;

std::string_view PickUtf8(const TextPair& pair, int lang) { return lang == 0 ? pair.ru : pair.en; }

std::string Text(const TextPair& pair, int lang) { return Utf8ToCp1251(PickUtf8(pair, lang)); }

std::string Text(const TextPair& pair) { return Text(pair, LangIndex); }

std::string TextUtf8(const TextPair& pair) { return std::string(PickUtf8(pair, LangIndex)); }

}  // namespace rz47
