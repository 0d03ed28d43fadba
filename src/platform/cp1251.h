// Windows-1251 <-> Unicode codec.
//
// Every text the program keeps (cells, archive files, wire bytes, text pairs once
// picked) is a single-byte Windows-1251 std::string. Conversion to Unicode happens only
// at the edges (Qt widgets, UTF-8 output). The mapping is a bijection over all 256 byte
// values: the one byte the code page leaves undefined (0x98) maps to U+0098, so any
// byte string survives a round trip through Unicode unchanged.
// Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>

namespace rz47 {

// The Unicode code point of one Windows-1251 byte.
char16_t Cp1251ToUnicode(unsigned char byte);

// The Windows-1251 byte of a code point, or '?' where the code page has none.
char UnicodeToCp1251(char32_t codePoint);

std::u16string Cp1251ToUtf16(std::string_view cp1251);
std::string Utf16ToCp1251(std::u16string_view utf16);

std::string Cp1251ToUtf8(std::string_view cp1251);
// Malformed UTF-8 sequences become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

}  // namespace rz47
