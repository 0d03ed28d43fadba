#include "platform/cp1251.h"

#include <gtest/gtest.h>

#include <string>

namespace rz47 {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST(Cp1251, EveryByteSurvivesUtf16AndUtf8RoundTrips) {
  const std::string bytes = AllBytes();
  EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(bytes)), bytes);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(bytes)), bytes);
}

TEST(Cp1251, DistinctBytesMapToDistinctCodePoints) {
  std::u16string all = Cp1251ToUtf16(AllBytes());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

struct KnownMapping {
  unsigned char byte;
  char16_t codePoint;
};

class Cp1251Known : public testing::TestWithParam<KnownMapping> {};

TEST_P(Cp1251Known, MapsBothWays) {
  const KnownMapping m = GetParam();
  EXPECT_EQ(Cp1251ToUnicode(m.byte), m.codePoint);
  EXPECT_EQ(static_cast<unsigned char>(UnicodeToCp1251(m.codePoint)), m.byte);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1251Known,
                         testing::Values(KnownMapping{0x41, u'A'}, KnownMapping{0xC0, u'А'},
                                         KnownMapping{0xFF, u'я'}, KnownMapping{0xA8, u'Ё'},
                                         KnownMapping{0xB8, u'ё'}, KnownMapping{0xB9, u'№'},
                                         KnownMapping{0x88, u'€'}, KnownMapping{0x96, u'–'},
                                         KnownMapping{0xA0, u'\u00A0'}, KnownMapping{0x98, u'\u0098'},
                                         KnownMapping{0xCE, u'О'}, KnownMapping{0xCA, u'К'}));

TEST(Cp1251, Utf8OfCyrillicTextConvertsBothWays) {
  const std::string utf8 = "Таблтца пуста №1";
  const std::string cp = Utf8ToCp1251(utf8);
  ASSERT_EQ(cp.size(), 16u);
  EXPECT_EQ(static_cast<unsigned char>(cp[0]), 0xD2);  // Т
  EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
}

TEST(Cp1251, CharactersOutsideTheCodePageAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD" "b"), "a?b");         // CJK
  EXPECT_EQ(Utf8ToCp1251("a\xF0\x9F\x98\x80" "b"), "a?b");     // emoji (4 bytes)
  EXPECT_EQ(Utf8ToCp1251("a\xC3"), "a?");                      // cut sequence
  EXPECT_EQ(Utf8ToCp1251("\x80x"), "?x");                      // stray continuation
  EXPECT_EQ(Utf16ToCp1251(u"x\U0001F600y"), "x?y");            // surrogate pair
}

}  // namespace
}  // namespace rz47
