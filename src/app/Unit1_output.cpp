// TForm1: spreadsheet export and the printed report.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/Unit1.h"
#include "app/main_texts.h"
#include "app/message_boxes.h"
#include "output/qt/quick_report6.h"
#include "platform/message_box.h"
#include "platform/qt/qt_text.h"

namespace rz47 {
namespace {

// "Name|pattern|Name|pattern" as the dialog's "Name (pattern)" entries.
QStringList NameFilters(const char* filter) {
  const QStringList parts = QString::fromUtf8(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + ')';
  return filters;
}

// A name typed without an extension gets the one of the selected type; under
// "All Files" it stays as typed.
QString DefaultSuffixForType(int type) {
  return type > 0 && type < kExportTypeCount ? QString::fromLatin1(ExtensionForType(type) + 1) : QString();
}

ExportResult ExportWithProgress(QWidget* parent, const GridData& grid, const std::string& prefix,
                                const std::filesystem::path& file) {
  std::atomic<int> permille{0};
  std::atomic<bool> cancel{false};
  std::atomic<bool> done{false};
  ExportResult result;
  QProgressDialog progress(parent);
  progress.setObjectName(QStringLiteral("ExportProgress"));
  progress.setWindowTitle(QText(texts::kSaveExel));
  progress.setLabelText(QFile::decodeName(file.filename().c_str()));
  progress.setCancelButtonText(ToQString(ButtonTexts.Cancel));
  progress.setRange(0, 1000);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.setMinimumDuration(0);
  progress.setWindowModality(Qt::WindowModal);

  std::thread worker([&] {
    try {
      result = ExportWorkbook(grid, prefix, file, [&](int value) {
        permille.store(value);
        return !cancel.load();
      });
    } catch (...) {
      result = {ExportStatus::Failed, "unexpected error"};
    }
    done.store(true);
  });
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(50);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    progress.setValue(permille.load());
    if (done.load()) loop.quit();
  });
  // The worker stops within a row; waiting for it here, without running events,
  // keeps the table untouched until it has let go.
  QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
    cancel.store(true);
    loop.quit();
  });
  progress.show();
  poll.start();
  loop.exec();
  worker.join();
  return result;
}

// The widget dialog's name field (the dialog's own object name).
QLineEdit* SaveDialog1NameEdit(QFileDialog* dialog) {
  return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

}  // namespace

void TForm1::PrepareSaveDialog1() {
  if (saveDialog1Prepared_) return;
  saveDialog1Prepared_ = true;
  SaveDialog1->setNameFilters(NameFilters(kExportFilter));
  // Replacing an existing workbook is confirmed by the dialog's own question.
  SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);
  // On a type change the dialog swaps the typed name's extension for the new
  // type's before telling us. Keep the name as the user left it: typed, or taken
  // from the file list (the dialog's own rewrites come by neither way).
  if (QLineEdit* edit = SaveDialog1NameEdit(SaveDialog1)) {
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { saveDialog1TypedName_ = text; });
  }
  connect(SaveDialog1, &QFileDialog::currentChanged, this, [this](const QString& path) {
    const QFileInfo info(path);
    if (!path.isEmpty() && !info.isDir()) saveDialog1TypedName_ = info.fileName();
  });
  connect(SaveDialog1, &QFileDialog::filterSelected, this, &TForm1::SaveDialog1TypeChange);
}

void TForm1::ShowSaveDialog1State() {
  const QSignalBlocker quiet(SaveDialog1);
  const int type = saveDialog1State_.type;
  SaveDialog1->selectNameFilter(SaveDialog1->nameFilters().value(type - 1));
  SaveDialog1->setDefaultSuffix(DefaultSuffixForType(type));
  const QString name = QString::fromUtf8(saveDialog1State_.fileName);
  saveDialog1TypedName_ = QFileInfo(name).fileName();
  if (name.isEmpty()) {
    // selectFile ignores an empty name; the field still holds the last one.
    if (QLineEdit* edit = SaveDialog1NameEdit(SaveDialog1)) edit->clear();
  } else {
    SaveDialog1->selectFile(name);
  }
}

void TForm1::SaveDialog1TypeChange(const QString& filter) {
  const int type = static_cast<int>(SaveDialog1->nameFilters().indexOf(filter)) + 1;
  QString shown;
  if (QLineEdit* edit = SaveDialog1NameEdit(SaveDialog1)) {
    // The shown name stays as typed; only the remembered name follows the rule.
    edit->setText(saveDialog1TypedName_);
    shown = saveDialog1TypedName_.isEmpty() ? QString()
                                            : QDir(SaveDialog1->directory()).absoluteFilePath(saveDialog1TypedName_);
  } else {
    shown = SaveDialog1->selectedFiles().value(0);
  }
  saveDialog1State_.TypeChanged(shown.toStdString(), type);
  SaveDialog1->setDefaultSuffix(DefaultSuffixForType(type));
}

void TForm1::SaveExelClick() {
  PrepareSaveDialog1();
  ShowSaveDialog1State();
  if (SaveDialog1->exec() != QDialog::Accepted) return;
  const QString path = SaveDialog1->selectedFiles().value(0);
  const int type = static_cast<int>(SaveDialog1->nameFilters().indexOf(SaveDialog1->selectedNameFilter())) + 1;
  saveDialog1State_.Confirmed(path.toStdString(), type);

  if (grid_.IsEmpty()) {
    ShowMessageBox(Text(texts::kArchiveNotRead), Text(texts::kError), kMbStopOk);
    return;
  }
  switch (ExportTable(path)) {
    case ExportStatus::Ok:
      saveDialog1State_.ExportSucceeded();
      break;
    case ExportStatus::Failed:
      ShowMessageBox(Text(texts::kExportError), Text(texts::kWarning), kMbStopOk);
      break;
    case ExportStatus::Cancelled:
      break;
  }
}

ExportStatus TForm1::ExportTable(const QString& path) {
  const std::filesystem::path file(QFile::encodeName(path).toStdString());
  const std::string prefix = Text(texts::kArchiveTitle);
  if (grid_.RowCount() <= kQuietExportRows) {
    // A fraction of a second: no window that would only flash.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportResult result = ExportWorkbook(grid_, prefix, file);
    QApplication::restoreOverrideCursor();
    return result.status;
  }
  return ExportWithProgress(this, grid_, prefix, file).status;
}

void TForm1::PrintClick() {
  try {
    TQuickReport6 report(grid_, Text(texts::kArchiveTitle), LangIndex, CurrentLocalMoment());
    report.Preview(this);
  } catch (...) {
    // A report that cannot be made or shown is dropped without a message.
  }
}

}  // namespace rz47
