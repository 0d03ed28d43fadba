#include "platform/cp1251.h"

#include <array>

namespace rz47 {
namespace {

// Code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F in order.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98 (0x98 unassigned)
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

char16_t Cp1251ToUnicode(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return static_cast<char16_t>(0x0410 + (byte - 0xC0));
  return kHighHalf[byte - 0x80];
}

char UnicodeToCp1251(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

std::u16string Cp1251ToUtf16(std::string_view cp1251) {
  std::u16string out;
  out.reserve(cp1251.size());
  for (char c : cp1251) out.push_back(Cp1251ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToCp1251(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char16_t unit = utf16[i];
    // A surrogate pair names a code point outside the code page either way.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      ++i;
      out.push_back('?');
      continue;
    }
    out.push_back(UnicodeToCp1251(unit));
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 4;
    bool ok = extra < 4 && i + extra < utf8.size();
    char32_t cp = lead & (0x7F >> extra);
    for (std::size_t k = 1; ok && k <= extra; ++k) {
      auto cont = static_cast<unsigned char>(utf8[i + k]);
      ok = (cont & 0xC0) == 0x80;
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(UnicodeToCp1251(cp));
    i += extra + 1;
  }
  return out;
}

}  // namespace rz47
