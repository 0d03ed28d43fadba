// TForm1: the file commands (New, Open, Save, Save As), the save question and
// closing the window. The decisions live in archive/file_commands.h; this unit
// only lends it the window's dialogs and title.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>

#include "app/Unit1.h"
#include "app/string_grid_view.h"
#include "archive/file_commands.h"
#include "platform/qt/qt_text.h"

namespace rz47 {
namespace {

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

// The window's side of the file commands: its two archive dialogs and its title.
class TForm1::FormFileUi final : public FileCommandUi {
 public:
  explicit FormFileUi(TForm1& form) : form_(form) {}

  std::optional<std::string> ChooseFileToOpen() override {
    if (form_.OpenDialog1->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = form_.OpenDialog1->selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return NativePath(chosen.first());
  }

  std::optional<std::string> ChooseFileToSaveAs() override {
    // The dialog itself asks before it lets an existing file be chosen.
    if (form_.SaveDialog2->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = form_.SaveDialog2->selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    form_.SaveDialog2->selectFile(chosen.first());  // proposed again next time
    return NativePath(chosen.first());
  }

  void SetTitle(const std::string& title) override { form_.setWindowTitle(ToQString(title)); }

  void ArchiveOpened(const std::string& path) override {
    form_.StringGrid1->ApplyGridMetrics();
    form_.OpenDialog1->selectFile(QFile::decodeName(QByteArray::fromStdString(path)));
  }

 private:
  TForm1& form_;
};

struct TForm1::FilesArea {
  explicit FilesArea(TForm1& form)
      : ui(form),
        commands(form.grid_, form.document_, disk, ui, NativePath(QCoreApplication::applicationDirPath())) {}
  DiskFileSystem disk;
  FormFileUi ui;
  FileCommands commands;
};

void TForm1::FilesAreaDeleter::operator()(FilesArea* area) const { delete area; }

FileCommands& TForm1::FileCmds() {
  if (!filesArea_) filesArea_.reset(new FilesArea(*this));
  return filesArea_->commands;
}

void TForm1::NewClick() { FileCmds().New(); }

void TForm1::Action1Execute() { FileCmds().Open(); }

void TForm1::OpenFromCommandLine(const QStringList& args) {
  // A path with blanks may arrive split into several arguments: join them again.
  FileCmds().OpenPath(NativePath(args.join(QLatin1Char(' '))));
}

void TForm1::SaveClick() { FileCmds().Save(); }

void TForm1::SaveAsClick() { FileCmds().SaveAs(); }

void TForm1::Action2Execute() { FileCmds().SaveQuestion(); }

void TForm1::closeEvent(QCloseEvent* event) {
  // FormClose: the save question first; Cancel keeps the window open.
  if (FileCmds().SaveQuestion()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace rz47
