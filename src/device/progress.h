// The progress values the steps report, in percent (integer division throughout).
#pragma once

#include <cstdint>

namespace rz47 {

constexpr int kProgressVersionDone = 10;
constexpr int kProgressParamsDone = 20;
constexpr int kProgressScreenStart = 40;
constexpr int kProgressComplete = 100;
constexpr int kProgressMaterialsReadDoneInArchiveJob = 4;

// After archive record j of `count`: 21 .. 100, 100 with the last record.
constexpr int ArchiveProgress(std::uint32_t j, std::uint32_t count) {
  return static_cast<int>(80U * (j + 1) / count + 20U);
}

// After material record j (0..12) is read: the archive job spends 1..4 on it, the
// materials job 20..93.
constexpr int MaterialReadProgress(bool archiveJob, int j) {
  return archiveJob ? 4 * j / 13 + 1 : 80 * j / 13 + 20;
}

// After material record j (0..12) is built for the write: 1 .. 25.
constexpr int MaterialBuildProgress(int j) { return (25 * (2 * j + 1) + 25) / 26; }

// After material record j (0..12) is written: 25 .. 94.
constexpr int MaterialWriteProgress(int j) { return 75 * j / 13 + 25; }

}  // namespace rz47
