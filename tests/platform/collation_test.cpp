#include "platform/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/cp1251.h"

namespace rz47 {
namespace {

std::vector<std::string> SortedBy(const TextCollator& collator, std::vector<std::string> words, bool byKey) {
  if (byKey) {
    std::sort(words.begin(), words.end(),
              [&](const std::string& a, const std::string& b) { return collator.SortKey(a) < collator.SortKey(b); });
  } else {
    std::sort(words.begin(), words.end(),
              [&](const std::string& a, const std::string& b) { return collator.Compare(a, b) < 0; });
  }
  return words;
}

TEST(Collation, RussianOrderIsCyrillicFirstWithYoBesideYeAndLowerCaseFirst) {
  const char* expectedUtf8[] = {"абрикос", "Абрикос", "еда", "ёж", "Ёж", "ежевика", "ёлка", "ель", "Ель",
                                "Ж",       "жук",     "яблоко", "apple", "Zebra"};
  std::vector<std::string> expected;
  for (const char* w : expectedUtf8) expected.push_back(Utf8ToCp1251(w));
  std::vector<std::string> shuffled(expected.rbegin(), expected.rend());
  std::rotate(shuffled.begin(), shuffled.begin() + 5, shuffled.end());
  TextCollator collator("ru_RU");
  EXPECT_EQ(SortedBy(collator, shuffled, false), expected);
  EXPECT_EQ(SortedBy(collator, shuffled, true), expected);
}

TEST(Collation, IsCaseSensitiveAndKeysAgreeWithCompare) {
  TextCollator collator("ru_RU");
  EXPECT_NE(collator.Compare("a", "A"), 0);
  EXPECT_EQ(collator.Compare("", ""), 0);
  EXPECT_LT(collator.Compare("", "a"), 0);
  const std::vector<std::string> words{"", "a", "A", Utf8ToCp1251("Кирпич"), Utf8ToCp1251("кирпич"),
                                       Utf8ToCp1251("Бетон"), "NAN", "10", "9"};
  for (const auto& a : words) {
    for (const auto& b : words) {
      int byKey = collator.SortKey(a).compare(collator.SortKey(b));
      int direct = collator.Compare(a, b);
      EXPECT_EQ(byKey < 0, direct < 0) << a << " / " << b;
      EXPECT_EQ(byKey == 0, direct == 0) << a << " / " << b;
    }
  }
}

}  // namespace
}  // namespace rz47
