#include <gtest/gtest.h>

#include "archive/change_name.h"
#include "platform/convert_error.h"

namespace rz47 {
namespace {

struct NameCase {
  const char* input;
  const char* next;
};

class ChangeNameSteps : public ::testing::TestWithParam<NameCase> {};

TEST_P(ChangeNameSteps, GivesTheNextName) { EXPECT_EQ(ChangeName(GetParam().input), GetParam().next); }

INSTANTIATE_TEST_SUITE_P(
    Examples, ChangeNameSteps,
    ::testing::Values(NameCase{"Arhive 0.rz4", "Arhive 1.rz4"}, NameCase{"Arhive 9.rz4", "Arhive 10.rz4"},
                      NameCase{"Arhive 007.rz4", "Arhive 8.rz4"}, NameCase{"Object.rz4", "Object 0.rz4"},
                      NameCase{"15.rz4", "16.rz4"}, NameCase{"Test12", "Test13.rz4"},
                      // Every ".rz4" goes, wherever it stands; the case must match exactly.
                      NameCase{"a.rz4b.rz4", "ab 0.rz4"}, NameCase{"Wall.RZ4", "Wall.RZ5.rz4"},
                      NameCase{"", " 0.rz4"}, NameCase{"x.rz4.rz4", "x 0.rz4"},
                      // Only the trailing run of digits counts.
                      NameCase{"2024 Wall 3.rz4", "2024 Wall 4.rz4"}, NameCase{"v1.2", "v1.3.rz4"},
                      // Cyrillic bytes (Windows-1251 "Стена") pass through untouched.
                      NameCase{"\xD1\xF2\xE5\xED\xE0 5.rz4", "\xD1\xF2\xE5\xED\xE0 6.rz4"},
                      // The largest 32-bit number still steps, without wrapping.
                      NameCase{"Big 2147483647.rz4", "Big 2147483648.rz4"}));

TEST(ChangeName, ANumberBeyond32BitsIsAConversionErrorNamingIt) {
  for (const char* name : {"Big 2147483648.rz4", "Big 99999999999999999999.rz4"}) {
    try {
      ChangeName(name);
      ADD_FAILURE() << name;
    } catch (const EConvertError& error) {
      EXPECT_NE(std::string(error.what()).find(std::string(name).substr(4, 10)), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace rz47
