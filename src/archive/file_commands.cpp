#include "archive/file_commands.h"

#include <unistd.h>

#include <climits>

#include "archive/change_name.h"
#include "platform/cp1251.h"
#include "platform/message_box.h"
#include "platform/text_pair.h"
#include "table/archive_count.h"
#include "table/columns.h"

namespace rz47 {
namespace {

constexpr TextPair kSaveWord{"Сохранить", "Save"};
constexpr TextPair kWarning{"Внимание", "Warning"};
constexpr TextPair kFileExistsFirst{"Файл с таким именем ", "File with this name"};
// The first letter of the Russian text is the Latin "c" (0x63): the program's own text.
constexpr TextPair kFileExistsLast{"cуществует, Заменить его?", "exists, Replace it?"};
constexpr TextPair kArchiveNotRead{"Архив не считан!", "Archive not read!"};
constexpr TextPair kError{"Ошибка", "Error"};

struct SplitResult {
  std::string folder;  // no trailing separator
  std::string name;
};

SplitResult SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

// A relative path names a file in the working folder; the archive folder must be
// absolute, or a later Save would write somewhere else.
std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path.front() == kPathSeparator) return path;
  char cwd[PATH_MAX];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
  std::string folder = cwd;
  if (folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder + path;
}

void ShowError(const std::string& utf8Message) {
  ShowMessageBox(Utf8ToCp1251(utf8Message), Text(kError), kMbStopOk);
}

void ShowArchiveNotRead() { ShowMessageBox(Text(kArchiveNotRead), Text(kError), kMbStopOk); }

}  // namespace

FileCommands::FileCommands(GridData& grid, DocumentState& document, ArchiveFileSystem& files,
                           FileCommandUi& ui, std::string programFolder)
    : grid_(grid), document_(document), files_(files), ui_(ui), programFolder_(std::move(programFolder)) {}

std::string FileCommands::CurrentPath() const { return folder_ + kPathSeparator + name_; }

void FileCommands::TakeNamesFromDocument() {
  // Whoever set the document's names without us (a test, a future command) wins; the
  // exact bytes are kept only while they still spell the document's names.
  if (Utf8ToCp1251(folder_) != document_.archiveFolder) folder_ = Cp1251ToUtf8(document_.archiveFolder);
  if (Utf8ToCp1251(name_) != document_.archiveName) name_ = Cp1251ToUtf8(document_.archiveName);
}

void FileCommands::SetArchive(const std::string& folder, const std::string& name) {
  folder_ = folder;
  name_ = name;
  document_.archiveFolder = Utf8ToCp1251(folder);
  document_.archiveName = Utf8ToCp1251(name);
}

void FileCommands::AdoptArchive(const std::string& path) {
  SplitResult parts = SplitPath(path);
  SetArchive(parts.folder, parts.name);
  document_.named = true;
  document_.modified = false;
  ShowTitle();
}

void FileCommands::ShowTitle() { ui_.SetTitle(ComposeWindowTitle(document_, LangIndex)); }

bool FileCommands::WriteTo(const std::string& path) {
  FileResult result = files_.Save(grid_, path);
  if (!result) ShowError(result.message);
  return result.ok;
}

bool FileCommands::AskOverwrite() {
  const std::string text = Text(kFileExistsFirst) + document_.archiveName + Text(kFileExistsLast);
  return ShowMessageBox(text, Text(kWarning), kMbYesNoCancelQuestion) == kIdYes;
}

bool FileCommands::SaveThroughDialog(bool adoptName) {
  std::optional<std::string> chosen = ui_.ChooseFileToSaveAs();
  if (!chosen) return false;
  const std::string path = AbsolutePath(*chosen);
  if (!WriteTo(path)) return false;
  if (adoptName) AdoptArchive(path);
  return true;
}

bool FileCommands::SaveQuestion() {
  if (grid_.IsEmpty() || !document_.modified) return true;
  TakeNamesFromDocument();
  const std::string question = Text(kSaveWord) + " " + document_.archiveName + " ?";
  const int answer = ShowMessageBox(question, Text(kWarning), kMbYesNoCancelQuestion);
  if (answer == kIdNo) return true;
  if (answer != kIdYes) return false;  // Cancel, Escape, or no box at all
  // The question never changes the document, even after it has written the file.
  if (name_.empty()) return SaveThroughDialog(false);
  const std::string path = CurrentPath();
  if (files_.Exists(path) && !AskOverwrite()) return false;
  return WriteTo(path);
}

void FileCommands::New() {
  if (!SaveQuestion()) return;
  if (!grid_.IsEmpty()) {
    grid_.BeginUpdate();
    grid_.SetRowCount(1);
    grid_.SetRowCount(2);
    grid_.EndUpdate();
  }
  document_.modified = true;
  document_.named = true;
  TakeNamesFromDocument();
  std::string folder = folder_;
  std::string name = name_;
  if (folder.empty() && name.empty()) {
    folder = programFolder_;
    name = kDefaultArchiveName;
  }
  // May throw; the names and the title then stay as they were.
  while (files_.Exists(folder + kPathSeparator + name)) name = ChangeName(name);
  SetArchive(folder, name);
  ShowTitle();
}

void FileCommands::Open() {
  if (!SaveQuestion()) return;
  std::optional<std::string> chosen = ui_.ChooseFileToOpen();
  if (chosen) LoadFrom(AbsolutePath(*chosen));
}

void FileCommands::OpenPath(const std::string& path) {
  if (!SaveQuestion()) return;
  LoadFrom(AbsolutePath(path));
}

void FileCommands::LoadFrom(const std::string& path) {
  FileResult result = files_.Load(grid_, path);
  if (!result) {
    ShowError(result.message);
    return;
  }
  WriteHeadings(grid_, LangIndex);
  ArchiveCount = static_cast<std::uint32_t>(grid_.RowCount() - 1);
  AdoptArchive(path);
  ui_.ArchiveOpened(path);
}

void FileCommands::Save() {
  if (!document_.modified) return;
  if (grid_.IsEmpty()) {
    ShowArchiveNotRead();
    return;
  }
  TakeNamesFromDocument();
  if (name_.empty()) {
    SaveThroughDialog(true);
    return;
  }
  if (!WriteTo(CurrentPath())) return;
  document_.named = true;
  document_.modified = false;
  ShowTitle();
}

void FileCommands::SaveAs() {
  std::optional<std::string> chosen = ui_.ChooseFileToSaveAs();
  if (!chosen) return;
  if (grid_.IsEmpty()) {
    ShowArchiveNotRead();
    return;
  }
  const std::string path = AbsolutePath(*chosen);
  if (!WriteTo(path)) return;
  // A table that already has a name only gets a copy written; it stays what it was.
  if (!document_.named) AdoptArchive(path);
}

}  // namespace rz47
