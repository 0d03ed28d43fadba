// The File commands (New, Open, Save, Save As), the save question and automatic
// archive naming, as a state machine over the measurement table and the document
// state behind the window title. No widgets: questions and messages go through
// ShowMessageBox, the file dialogs and the title through FileCommandUi, files
// through ArchiveFileSystem.
//
// Rules that hold across the commands:
// - A command whose file cannot be written or read reports it (caption "Error",
//   stop icon) and changes nothing: table, names, flags, title, record count.
// - The save question (before New, Open and closing): Yes saves and goes on, No goes
//   on without saving, Cancel (or Escape) aborts the command. A save that fails, or
//   No/Cancel to the overwrite question, aborts it as well.
// - A table that is named but has no archive name yet (a row was deleted before
//   anything was saved) is saved through the Save As dialog.
//
// The document's folder and name are Windows-1251 for the title and the questions;
// the commands keep the exact operating-system bytes of the current path beside
// them, so a file name the code page cannot spell is still found again.
// UI thread.
#pragma once

#include <optional>
#include <string>

#include "archive/file_system.h"
#include "archive/window_title.h"
#include "table/grid_data.h"

namespace rz47 {

inline constexpr char kPathSeparator = '/';
inline constexpr const char* kDefaultArchiveName = "Arhive 0.rz4";

class FileCommandUi {
 public:
  virtual ~FileCommandUi() = default;
  // The open dialog: the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFileToOpen() = 0;
  // The Save As dialog: the chosen path (replacing an existing file already
  // confirmed by the dialog), or nothing when cancelled.
  virtual std::optional<std::string> ChooseFileToSaveAs() = 0;
  // The window title (Windows-1251) at the moments the commands set it.
  virtual void SetTitle(const std::string& title) = 0;
  // A file was read into the table (its heading row already in the current language).
  virtual void ArchiveOpened(const std::string& path) = 0;
};

class FileCommands {
 public:
  // `programFolder`: the folder of the program file, no trailing separator.
  FileCommands(GridData& grid, DocumentState& document, ArchiveFileSystem& files, FileCommandUi& ui,
               std::string programFolder);

  // New: after the save question, clears a table that holds data to one empty row,
  // sets both flags and proposes the first free archive name. Throws EConvertError
  // when the name's trailing number cannot be stepped (table cleared, flags set,
  // name and title as before).
  void New();
  // Open through the dialog (after the save question).
  void Open();
  // Open a given path, as for the command line (after the save question). A relative
  // path is taken from the working folder.
  void OpenPath(const std::string& path);
  void Save();
  void SaveAs();
  // The save question; false when the calling command must stop.
  bool SaveQuestion();

  // Folder, separator and name, in operating-system bytes.
  std::string CurrentPath() const;

 private:
  void TakeNamesFromDocument();
  void SetArchive(const std::string& folder, const std::string& name);
  // `path` becomes the current archive, saved: named, not modified, title shown.
  void AdoptArchive(const std::string& path);
  void ShowTitle();
  void LoadFrom(const std::string& path);
  bool WriteTo(const std::string& path);
  bool AskOverwrite();
  // Save As dialog for a table without a name; true once written.
  bool SaveThroughDialog(bool adoptName);

  GridData& grid_;
  DocumentState& document_;
  ArchiveFileSystem& files_;
  FileCommandUi& ui_;
  std::string programFolder_;
  std::string folder_;  // operating-system bytes of document_.archiveFolder
  std::string name_;    // operating-system bytes of document_.archiveName
};

}  // namespace rz47
