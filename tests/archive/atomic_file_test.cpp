// Atomic saving: a save that cannot finish leaves the old file as it was and no
// temporary file behind; a save that finishes replaces the file whole.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "archive/archive_file.h"
#include "platform/atomic_file.h"
#include "case_name.h"
#include "temp_folder.h"

namespace rz47 {
namespace {

using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

const std::string kOld = "old contents";
const std::string kNew(100000, 'n');  // larger than the size limit below

struct ChildLimits {
  bool unprivileged = false;  // run as "nobody" when we are root: permissions then apply
  rlim_t maxFileSize = RLIM_INFINITY;
};

// Runs `body` in a child process under `limits`; true when it returned true there.
bool RunInChild(const std::function<bool()>& body, ChildLimits limits) {
  pid_t pid = ::fork();
  if (pid == 0) {
    if (limits.unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    if (limits.maxFileSize != RLIM_INFINITY) {
      std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
      rlimit limit{limits.maxFileSize, limits.maxFileSize};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    }
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct FailureCase {
  const char* name;
  // Prepares the folder and returns the path to save to.
  std::function<std::string(TempFolder&)> prepare;
  ChildLimits limits;
};

std::vector<FailureCase> FailureCases() {
  return {
      {"ReadOnlyFolder",
       [](TempFolder& folder) {
         std::filesystem::create_directory(folder / "ro");
         WriteFileBytes(folder / "ro/a.rz4", kOld);
         ::chmod(folder.path().c_str(), 0755);
         ::chmod((folder / "ro").c_str(), 0555);
         return folder / "ro/a.rz4";
       },
       {true}},
      {"VanishedFolder",
       [](TempFolder& folder) {
         std::filesystem::create_directory(folder / "gone");
         std::filesystem::remove(folder / "gone");
         return folder / "gone/a.rz4";
       },
       {}},
      {"FolderIsAFile",
       [](TempFolder& folder) {
         WriteFileBytes(folder / "plain", kOld);
         return folder / "plain/a.rz4";
       },
       {}},
      {"TargetIsAFolder",
       [](TempFolder& folder) {
         std::filesystem::create_directory(folder / "a.rz4");
         return folder / "a.rz4";
       },
       {}},
      {"DiskFullHalfway",
       [](TempFolder& folder) {
         WriteFileBytes(folder / "a.rz4", kOld);
         return folder / "a.rz4";
       },
       {false, 4096}},
  };
}

class AtomicSaveFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(AtomicSaveFailure, ReportsAndLeavesTheFolderAsItWas) {
  TempFolder folder;
  const std::string target = GetParam().prepare(folder);
  const std::filesystem::path parent = std::filesystem::path(target).parent_path();
  const bool parentIsFolder = std::filesystem::is_directory(parent);
  const auto namesBefore = parentIsFolder ? TempFolder::NamesOf(parent) : std::set<std::string>{};
  const std::string oldBytes = std::filesystem::is_regular_file(target) ? ReadFileBytes(target) : "";
  const bool failedWithMessage = RunInChild(
      [&] {
        FileResult result = WriteFileAtomically(target, kNew);
        return !result.ok && result.message.find(target) != std::string::npos;
      },
      GetParam().limits);
  EXPECT_TRUE(failedWithMessage);
  if (std::filesystem::is_regular_file(target)) {
    EXPECT_EQ(ReadFileBytes(target), oldBytes);
  }
  if (parentIsFolder) {
    EXPECT_EQ(TempFolder::NamesOf(parent), namesBefore);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, AtomicSaveFailure, ::testing::ValuesIn(FailureCases()),
                         test::CaseName());

TEST(AtomicSave, ReplacesTheFileAndLeavesNothingElse) {
  TempFolder folder;
  WriteFileBytes(folder / "a.rz4", kOld);
  ASSERT_TRUE(WriteFileAtomically(folder / "a.rz4", kNew).ok);
  EXPECT_EQ(ReadFileBytes(folder / "a.rz4"), kNew);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"a.rz4"});
}

TEST(AtomicSave, KeepsThePermissionsOfTheFileItReplaces) {
  TempFolder folder;
  WriteFileBytes(folder / "a.rz4", kOld);
  ::chmod((folder / "a.rz4").c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(folder / "a.rz4", kNew).ok);
  struct stat st {};
  ASSERT_EQ(::stat((folder / "a.rz4").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(AtomicSave, SavesThroughASymbolicLinkAndKeepsTheLink) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "real");
  WriteFileBytes(folder / "real/a.rz4", kOld);
  std::filesystem::create_symlink(folder / "real/a.rz4", folder / "link.rz4");
  ASSERT_TRUE(WriteFileAtomically(folder / "link.rz4", kNew).ok);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.rz4"));
  EXPECT_EQ(ReadFileBytes(folder / "real/a.rz4"), kNew);
  EXPECT_EQ(TempFolder::NamesOf(folder / "real"), std::set<std::string>{"a.rz4"});
}

TEST(AtomicSave, AFailedArchiveSaveKeepsTheOldArchive) {
  TempFolder folder;
  GridData old(8, 2);
  old.SetCell(0, 1, "1");
  ASSERT_TRUE(SaveGridToFile(old, folder / "a.rz4").ok);
  const std::string oldBytes = ReadFileBytes(folder / "a.rz4");
  GridData big(8, 2000);
  for (int row = 1; row < 2000; ++row) big.SetCell(5, row, std::string(50, 'x'));
  EXPECT_TRUE(RunInChild([&] { return !SaveGridToFile(big, folder / "a.rz4").ok; }, {false, 8192}));
  EXPECT_EQ(ReadFileBytes(folder / "a.rz4"), oldBytes);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"a.rz4"});
}

}  // namespace
}  // namespace rz47
