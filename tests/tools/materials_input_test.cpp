// The materials grid's input rules: the speed column's key filter with its warning
// box, Enter moving down with the wrap, and the length guard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/text_pair.h"
#include "tools/materials_input.h"

namespace rz47 {
namespace {

struct BoxCall {
  std::string text, caption;
  std::uint32_t flags;
};

// Records every box and answers with a fixed button.
class BoxRecorder {
 public:
  explicit BoxRecorder(int answer)
      : previous_(InstallMessageBoxHandler([this, answer](const std::string& text, const std::string& caption,
                                                          std::uint32_t flags) {
          calls.push_back({text, caption, flags});
          return answer;
        })) {}
  ~BoxRecorder() { InstallMessageBoxHandler(previous_); }
  std::vector<BoxCall> calls;

 private:
  MessageBoxHandler previous_;
};

struct KeyCase {
  const char* name;
  char key;
  GridCursor before;
  int boxAnswer;
  char expectedKey;
  bool warned;
  GridCursor after;
};

constexpr char kCyrillicA = static_cast<char>(0xE0);  // "а" in Windows-1251
constexpr char kByte7F = 0x7F;

class MaterialsKeyPressTest : public testing::TestWithParam<KeyCase> {};

TEST_P(MaterialsKeyPressTest, FiltersWarnsAndMoves) {
  const KeyCase& c = GetParam();
  BoxRecorder boxes(c.boxAnswer);
  GridCursor cursor = c.before;
  EXPECT_EQ(MaterialsKeyPress(c.key, cursor), c.expectedKey);
  EXPECT_EQ(cursor, c.after);
  ASSERT_EQ(boxes.calls.size(), c.warned ? 1u : 0u);
  if (c.warned) {
    EXPECT_EQ(boxes.calls[0].flags, kMbStopOk);
    EXPECT_EQ(boxes.calls[0].text, Text(TextPair{"Вводить только цифры!", "To enter only figures!"}));
    EXPECT_EQ(boxes.calls[0].caption, Text(TextPair{"Внимание", "Warning"}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MaterialsKeyPressTest,
    testing::Values(
        KeyCase{"DigitInSpeed", '7', {2, 4}, kIdOk, '7', false, {2, 4}},
        KeyCase{"ZeroAndNineAreDigits", '0', {2, 4}, kIdOk, '0', false, {2, 4}},
        KeyCase{"NineIsADigit", '9', {2, 4}, kIdOk, '9', false, {2, 4}},
        KeyCase{"BackspaceInSpeed", kKeyBackspace, {2, 4}, kIdOk, kKeyBackspace, false, {2, 4}},
        KeyCase{"TabInSpeed", kKeyTab, {2, 4}, kIdOk, kKeyTab, false, {2, 4}},
        KeyCase{"LetterInSpeedDiscardedAfterOk", 'a', {2, 4}, kIdOk, 0, true, {2, 4}},
        KeyCase{"CharBeforeDigitsRefused", '/', {2, 4}, kIdOk, 0, true, {2, 4}},
        KeyCase{"CharAfterDigitsRefused", ':', {2, 4}, kIdOk, 0, true, {2, 4}},
        KeyCase{"BlankInSpeedRefused", ' ', {2, 4}, kIdOk, 0, true, {2, 4}},
        KeyCase{"CyrillicInSpeedRefused", kCyrillicA, {2, 4}, kIdOk, 0, true, {2, 4}},
        KeyCase{"Byte7FInSpeedRefused", kByte7F, {2, 4}, kIdOk, 0, true, {2, 4}},
        // Without an OK (no box could be shown) the character goes on.
        KeyCase{"LetterKeptWithoutOk", 'a', {2, 4}, kIdNone, 'a', true, {2, 4}},
        KeyCase{"LetterInName", 'a', {1, 4}, kIdOk, 'a', false, {1, 4}},
        KeyCase{"CyrillicInName", kCyrillicA, {1, 4}, kIdOk, kCyrillicA, false, {1, 4}},
        KeyCase{"PunctuationInName", '.', {1, 4}, kIdOk, '.', false, {1, 4}},
        KeyCase{"LetterInNumberColumn", 'x', {0, 4}, kIdOk, 'x', false, {0, 4}},
        KeyCase{"EnterMovesDown", kKeyEnter, {2, 4}, kIdOk, kKeyEnter, false, {2, 5}},
        KeyCase{"EnterInFirstRow", kKeyEnter, {1, 1}, kIdOk, kKeyEnter, false, {1, 2}},
        KeyCase{"EnterInRow12", kKeyEnter, {1, 12}, kIdOk, kKeyEnter, false, {1, 13}},
        KeyCase{"EnterInLastRowWraps", kKeyEnter, {1, 13}, kIdOk, kKeyEnter, false, {1, 1}},
        KeyCase{"EnterInLastSpeedRowWraps", kKeyEnter, {2, 13}, kIdOk, kKeyEnter, false, {2, 1}}),
    [](const testing::TestParamInfo<KeyCase>& param) { return std::string(param.param.name); });

TEST(MaterialsKeyPress, WarningFollowsTheLanguage) {
  BoxRecorder boxes(kIdOk);
  const std::int8_t saved = LangIndex;
  LangIndex = 1;
  GridCursor cursor{kMaterialSpeedCol, 3};
  MaterialsKeyPress('z', cursor);
  LangIndex = saved;
  ASSERT_EQ(boxes.calls.size(), 1u);
  EXPECT_EQ(boxes.calls[0].text, "To enter only figures!");
  EXPECT_EQ(boxes.calls[0].caption, "Warning");
}

struct GuardCase {
  int col;
  std::size_t length;
  bool triggers;
};

class LengthGuardTest : public testing::TestWithParam<GuardCase> {};

TEST_P(LengthGuardTest, TriggersOnlyPastTheColumnLimit) {
  const GuardCase& c = GetParam();
  EXPECT_EQ(LengthGuardTriggers(c.col, std::string(c.length, '5')), c.triggers);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LengthGuardTest,
                         testing::Values(GuardCase{1, 0, false}, GuardCase{1, 20, false}, GuardCase{1, 21, true},
                                         GuardCase{1, 40, true}, GuardCase{2, 3, false}, GuardCase{2, 4, true},
                                         GuardCase{2, 9, true}, GuardCase{0, 30, false}));

}  // namespace
}  // namespace rz47
