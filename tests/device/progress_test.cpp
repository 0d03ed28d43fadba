// The progress values at the points where the steps report them: first and last
// values and steady growth within each step.
#include <gtest/gtest.h>

#include <functional>

#include "device/progress.h"

namespace rz47 {
namespace {

struct RangeCase {
  const char* name;
  std::function<int(int)> progress;
  int last;  // argument of the last report
  int first;
  int end;
};

class ProgressRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(ProgressRangeTest, FromFirstToLastWithoutGoingBack) {
  const RangeCase& c = GetParam();
  EXPECT_EQ(c.progress(0), c.first) << c.name;
  EXPECT_EQ(c.progress(c.last), c.end) << c.name;
  for (int i = 1; i <= c.last; ++i) EXPECT_GE(c.progress(i), c.progress(i - 1)) << c.name << " " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ProgressRangeTest,
    testing::Values(RangeCase{"archive, 3 records", [](int j) { return ArchiveProgress(j, 3); }, 2, 46, 100},
                    RangeCase{"archive, 1 record", [](int j) { return ArchiveProgress(j, 1); }, 0, 100, 100},
                    RangeCase{"archive, 1600 records", [](int j) { return ArchiveProgress(j, 1600); }, 1599, 20, 100},
                    RangeCase{"materials read in the archive job", [](int j) { return MaterialReadProgress(true, j); },
                              12, 1, 4},
                    RangeCase{"materials read in the materials job",
                              [](int j) { return MaterialReadProgress(false, j); }, 12, 20, 93},
                    RangeCase{"material records built", [](int j) { return MaterialBuildProgress(j); }, 12, 1, 25},
                    RangeCase{"material records written", [](int j) { return MaterialWriteProgress(j); }, 12, 25, 94}));

TEST(ArchiveProgress, UnsignedArithmeticForTheLargestArchive) {
  EXPECT_EQ(ArchiveProgress(799, 1600), 60);
  EXPECT_EQ(ArchiveProgress(1, 3), 73);
}

}  // namespace
}  // namespace rz47
