// Saving when the disk says no: a full file system, a file size limit, a read-only
// folder and a folder that vanished. SaveGridToFile and each File command that
// writes (Save, Save As, the save question before New and Open) must report the
// failure once, with the file and the reason, and change nothing: the table, the
// document's names and flags, the title, the record count, the previous file and the
// rest of the folder stay as they were.
//
// The full file system is a small tmpfs and the read-only folder a tmpfs remounted
// read-only, which needs the right to mount (root in the test machine); without it
// those cases are skipped, except that an unprivileged user gets a folder without
// write permission instead.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "archive/archive_file.h"
#include "archive/file_commands.h"
#include "archive/file_system.h"
#include "archive/window_title.h"
#include "file_commands_fakes.h"
#include "platform/atomic_file.h"
#include "platform/cp1251.h"
#include "platform/text_pair.h"
#include "table/archive_count.h"
#include "table/grid_data.h"
#include "temp_folder.h"

namespace rz47::test {
namespace {

namespace fs = std::filesystem;

// The archive on disk before the save: one small row.
GridData OldTable() {
  GridData grid(8, 2);
  grid.SetCell(0, 1, "1");
  grid.SetCell(1, 1, "10:00:00");
  return grid;
}

// The table being saved: far larger than the room the faults leave.
GridData NewTable() {
  GridData grid(8, 401);
  for (int row = 1; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, row, "cell " + std::to_string(row * 8 + col));
  }
  return grid;
}

// A tmpfs of `kilobytes`, mounted on a fresh folder and unmounted on destruction.
class SmallFileSystem {
 public:
  static std::unique_ptr<SmallFileSystem> Mount(const std::string& where, int kilobytes) {
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0755";
    if (::mount("rz47-test", where.c_str(), "tmpfs", 0, options.c_str()) != 0) return nullptr;
    return std::unique_ptr<SmallFileSystem>(new SmallFileSystem(where));
  }
  ~SmallFileSystem() { ::umount2(where_.c_str(), MNT_DETACH); }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool MakeReadOnly() { return ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

 private:
  explicit SmallFileSystem(std::string where) : where_(std::move(where)) {}
  std::string where_;
};

// Writes zeros until the file system is full.
void FillUp(const std::string& path) {
  std::ofstream filler(path, std::ios::binary);
  const std::string block(4096, '\0');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
  }
}

// What a fault leaves for the test to undo; declared after the folder, so a file
// system mounted in it is gone before the folder is removed.
struct FaultSetup {
  std::string skip;  // why the machine cannot provide the fault
  std::unique_ptr<SmallFileSystem> mounted;
};

// A fault: prepares the folder (the previous archive is written there first) and
// says which error the save must report. Arm/Disarm bracket the save itself.
struct Fault {
  const char* name;
  // Returns the archive's path, or nothing with `skip` set.
  std::function<std::optional<std::string>(TempFolder&, FaultSetup&)> prepare;
  int expectedError;
  std::function<void()> arm = [] {};
  std::function<void()> disarm = [] {};
};

std::optional<std::string> WriteOld(const std::string& folder) {
  const std::string path = folder + "/Arhive 1.rz4";
  if (!SaveGridToFile(OldTable(), path)) return std::nullopt;
  return path;
}

rlimit savedLimit{};

std::vector<Fault> Faults() {
  return {
      {"FullDisk",
       [](TempFolder& folder, FaultSetup& setup) -> std::optional<std::string> {
         const std::string where = folder / "disk";
         fs::create_directory(where);
         setup.mounted = SmallFileSystem::Mount(where, 64);
         if (!setup.mounted) {
           setup.skip = "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) + ")";
           return std::nullopt;
         }
         auto path = WriteOld(where);
         FillUp(where + "/filler");
         return path;
       },
       ENOSPC},
      {"FileSizeLimit",
       [](TempFolder& folder, FaultSetup&) { return WriteOld(folder.path()); },
       EFBIG,
       [] {
         // Past the limit a write fails with EFBIG instead of killing the process.
         std::signal(SIGXFSZ, SIG_IGN);
         ::getrlimit(RLIMIT_FSIZE, &savedLimit);
         rlimit small = savedLimit;
         small.rlim_cur = 4096;
         ::setrlimit(RLIMIT_FSIZE, &small);
       },
       [] { ::setrlimit(RLIMIT_FSIZE, &savedLimit); }},
      {"ReadOnlyFolder",
       [](TempFolder& folder, FaultSetup& setup) -> std::optional<std::string> {
         const std::string where = folder / "ro";
         fs::create_directory(where);
         if (::geteuid() != 0) {
           auto path = WriteOld(where);
           fs::permissions(where, fs::perms::owner_read | fs::perms::owner_exec);
           return path;
         }
         setup.mounted = SmallFileSystem::Mount(where, 256);
         if (!setup.mounted) {
           setup.skip = "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) + ")";
           return std::nullopt;
         }
         auto path = WriteOld(where);
         if (!setup.mounted->MakeReadOnly()) {
           setup.skip = "cannot remount read-only";
           return std::nullopt;
         }
         return path;
       },
       ::geteuid() == 0 ? EROFS : EACCES},
      {"VanishedFolder",
       [](TempFolder& folder, FaultSetup&) -> std::optional<std::string> {
         const std::string where = folder / "gone";
         fs::create_directory(where);
         auto path = WriteOld(where);
         fs::remove_all(where);
         return path;
       },
       ENOENT},
  };
}

enum class Command { SaveGridToFile, Save, SaveAs, SaveQuestionBeforeNew, SaveQuestionBeforeOpen };

struct CommandCase {
  const char* name;
  Command command;
};

constexpr CommandCase kCommands[] = {
    {"SaveGridToFile", Command::SaveGridToFile},
    {"Save", Command::Save},
    {"SaveAs", Command::SaveAs},
    {"SaveQuestionBeforeNew", Command::SaveQuestionBeforeNew},
    {"SaveQuestionBeforeOpen", Command::SaveQuestionBeforeOpen},
};

using SaveFaultParam = std::tuple<Fault, CommandCase>;

class SaveUnderFault : public ::testing::TestWithParam<SaveFaultParam> {};

std::string Listing(const fs::path& folder) {
  if (!fs::is_directory(folder)) return "(no folder)";
  std::string names;
  for (const std::string& name : TempFolder::NamesOf(folder)) names += name + "\n";
  return names;
}

TEST_P(SaveUnderFault, ReportsOnceAndChangesNothing) {
  const auto& [fault, command] = GetParam();
  TempFolder folder;
  FaultSetup setup;
  const std::optional<std::string> archive = fault.prepare(folder, setup);
  if (!setup.skip.empty()) GTEST_SKIP() << setup.skip;
  ASSERT_TRUE(archive.has_value());
  const fs::path parent = fs::path(*archive).parent_path();
  const bool hadFile = fs::exists(*archive);
  const std::string oldBytes = hadFile ? ReadFileBytes(*archive) : "";
  const std::string listingBefore = Listing(parent);

  GridData grid = NewTable();
  const std::string tableBefore = EncodeGrid(grid);
  DocumentState document{Utf8ToCp1251(parent.string()), "Arhive 1.rz4", true, true};
  const DocumentState documentBefore = document;
  ArchiveCount = 400;
  LangIndex = 1;

  DiskFileSystem disk;
  FakeUi ui;
  ScriptedBoxes boxes;
  boxes.answers = {kIdYes, kIdYes};  // save? yes; replace the file? yes
  FileCommands commands(grid, document, disk, ui, folder.path());
  std::optional<FileResult> direct;

  fault.arm();
  switch (command.command) {
    case Command::SaveGridToFile: direct = SaveGridToFile(grid, *archive); break;
    case Command::Save: commands.Save(); break;
    case Command::SaveAs:
      ui.saveChoices = {*archive};
      commands.SaveAs();
      break;
    case Command::SaveQuestionBeforeNew: commands.New(); break;
    case Command::SaveQuestionBeforeOpen: commands.Open(); break;
  }
  fault.disarm();

  const std::string reason = SystemErrorText(fault.expectedError);
  const std::string fileName = fs::path(*archive).filename().string();
  if (direct) {
    EXPECT_FALSE(direct->ok);
    EXPECT_NE(direct->message.find(*archive), std::string::npos) << direct->message;
    EXPECT_NE(direct->message.find(reason), std::string::npos) << direct->message;
  } else {
    std::vector<ShownBox> errors;
    for (const ShownBox& box : boxes.shown) {
      if (box.flags == kMbStopOk) errors.push_back(box);
    }
    ASSERT_EQ(errors.size(), 1U) << "one error box expected";
    EXPECT_EQ(errors[0].caption, "Error");
    EXPECT_NE(errors[0].text.find(fileName), std::string::npos) << errors[0].text;
    EXPECT_NE(errors[0].text.find(reason), std::string::npos) << errors[0].text;
    EXPECT_EQ(ui.openDialogs, 0) << "Open went on after the save failed";
  }
  EXPECT_EQ(EncodeGrid(grid), tableBefore) << "the table changed";
  EXPECT_EQ(document, documentBefore) << "names or flags changed";
  EXPECT_TRUE(ui.titles.empty()) << "the title was set";
  EXPECT_EQ(ArchiveCount, 400U);
  if (hadFile) {
    EXPECT_EQ(ReadFileBytes(*archive), oldBytes) << "the previous file was harmed";
  }
  EXPECT_EQ(Listing(parent), listingBefore) << "files were left behind";
}

std::string ParamName(const ::testing::TestParamInfo<SaveFaultParam>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveUnderFault,
                         ::testing::Combine(::testing::ValuesIn(Faults()), ::testing::ValuesIn(kCommands)),
                         ParamName);

}  // namespace
}  // namespace rz47::test
