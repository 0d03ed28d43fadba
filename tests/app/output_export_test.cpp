// The main window's export and print commands through the real dialogs: what the
// save dialog offers and remembers, its type-change rule, the empty-table and
// failure messages, large tables through the progress window, the print preview.
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/Unit1.h"
#include "app/message_boxes.h"
#include "files_modal_driver.h"
#include "platform/qt/qt_text.h"
#include "table/columns.h"

namespace rz47 {

using test::ModalDriver;

namespace {

void FillTable(GridData& grid, int rows) {
  grid.SetRowCount(rows + 1);
  for (int row = 1; row <= rows; ++row) {
    grid.SetRow(row, {std::to_string(row), "10:00:00", "01.02.2024", "1", std::to_string(row),
                      FromQString(QStringLiteral("Бетон")), "1,00", "1500"});
  }
}

QByteArray Head(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
}

bool StepsTaken(const ModalDriver& driver) {
  const bool taken = QTest::qWaitFor([&] { return driver.AllStepsTaken(); }, 10000);
  if (!driver.unexpected.isEmpty()) qWarning() << "unexpected windows" << driver.unexpected;
  return taken && driver.unexpected.isEmpty();
}

// Picks type `type` (1..3) in the dialog's type list as a user would.
void PickType(QFileDialog* dialog, int type) {
  auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  QVERIFY(combo != nullptr);
  // What the list does when the user picks an item.
  combo->setCurrentIndex(type - 1);
  emit combo->activated(type - 1);
  emit combo->textActivated(combo->currentText());
}

// Confirms the export dialog with `path` under `type`, then leaves the export's
// progress window alone; any other window is recorded as unexpected and closed.
class ExportDialogDriver : public QObject {
 public:
  ExportDialogDriver(QString path, int type) : path_(std::move(path)), type_(type) {
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(10);
  }
  bool chosen = false;
  bool sawProgress = false;
  QStringList unexpected;

 private:
  void Poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr) return;
    if (auto* d = qobject_cast<QFileDialog*>(w); d != nullptr && !chosen) {
      chosen = true;
      PickType(d, type_);
      // As typed: selectFile leaves a focused name field alone.
      d->setDirectory(QFileInfo(path_).path());
      d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(path_).fileName());
      static_cast<QDialog*>(d)->accept();  // the dialog's own checks run
    } else if (w->objectName() == QStringLiteral("ExportProgress")) {
      sawProgress = true;
    } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
      unexpected << w->windowTitle();
      dialog->reject();
    }
  }
  QString path_;
  int type_;
  QTimer timer_;
};

}  // namespace

class OutputExportTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QList<MessageBoxRecord> boxes_;
  QString Path(const QString& name) const { return dir_.path() + "/" + name; }

 private slots:
  void initTestCase() {
    InstallQtMessageBoxes();
    SetMessageBoxAnswerer([this](const MessageBoxRecord& r) {
      boxes_ << r;
      return 1;
    });
  }
  void init() { boxes_.clear(); }

  void dialogOffersTheFirstNameAndTypes() {
    TForm1 form;
    ModalDriver driver;
    QStringList filters, selected;
    QString title, filter;
    bool confirmsOverwrite = false;
    driver.Then([&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      title = d->windowTitle();
      filters = d->nameFilters();
      filter = d->selectedNameFilter();
      selected = d->selectedFiles();
      confirmsOverwrite = !d->testOption(QFileDialog::DontConfirmOverwrite);
      d->reject();
    });
    form.SaveExelClick();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(title, QStringLiteral("Экспорт в Exel"));
    QCOMPARE(filters, (QStringList{"Exel 2003 (*.xls)", "Exel 2007 (*.xlsx)", "All Files (*.*)"}));
    QCOMPARE(filter, filters[0]);
    QCOMPARE(selected.size(), 1);
    QVERIFY(selected[0].endsWith(QStringLiteral("/Arhive.xlsx")));
    QVERIFY(confirmsOverwrite);
    QVERIFY(boxes_.isEmpty());
  }

  void emptyTableIsRefusedAfterTheDialog() {
    TForm1 form;
    ModalDriver driver;
    driver.Then(ModalDriver::Choose(Path("empty.xlsx")));
    form.SaveExelClick();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].text, QStringLiteral("Архив не считан!"));
    QCOMPARE(boxes_[0].caption, QStringLiteral("Ошибка"));
    QCOMPARE(boxes_[0].flags, 0x10u);
    QVERIFY(!QFile::exists(Path("empty.xlsx")));
  }

  void exportWritesTheWorkbookAndForgetsTheName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("name");  // the file written
    QTest::addColumn<QByteArray>("magic");
    const QByteArray xls("\xD0\xCF\x11\xE0");
    const QByteArray xlsx("PK\x03\x04");
    QTest::newRow("xls") << "a.xls" << 1 << 10 << "a.xls" << xls;
    QTest::newRow("xlsx") << "a.xlsx" << 2 << 10 << "a.xlsx" << xlsx;
    // A name without an extension gets the selected type's; "All Files" adds none.
    QTest::newRow("bare under 2003") << "plain" << 1 << 10 << "plain.xls" << xls;
    QTest::newRow("bare under 2007") << "plain" << 2 << 10 << "plain.xlsx" << xlsx;
    QTest::newRow("bare under all files") << "plain" << 3 << 10 << "plain" << xlsx;
    // Past the quiet limit the export runs on a worker behind a progress window.
    QTest::newRow("large xlsx") << "big.xlsx" << 2 << TForm1::kQuietExportRows + 1 << "big.xlsx" << xlsx;
    QTest::newRow("large xls") << "big.xls" << 1 << TForm1::kQuietExportRows + 1 << "big.xls" << xls;
  }
  void exportWritesTheWorkbookAndForgetsTheName() {
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(int, rows);
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    TForm1 form;
    FillTable(form.Grid(), rows);
    {
      ExportDialogDriver exportDriver(Path(typed), type);
      form.SaveExelClick();
      QVERIFY(exportDriver.chosen);
      QCOMPARE(exportDriver.unexpected, QStringList());
    }
    QVERIFY(boxes_.isEmpty());
    QCOMPARE(Head(Path(name)), magic);
    QCOMPARE(form.SaveDialog1State().fileName, std::string());
    QCOMPARE(form.SaveDialog1State().type, type);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    QFile::remove(Path(name));

    // The next dialog opens with the confirmed type and no name.
    QString shownName = QStringLiteral("unseen");
    QString filter;
    ModalDriver driver;
    driver.Then([&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      if (auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) shownName = edit->text();
      filter = d->selectedNameFilter();
      d->reject();
    });
    form.SaveExelClick();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(filter, form.SaveDialog1->nameFilters().value(type - 1));
    QCOMPARE(shownName, QString());
  }

  void failedExportIsReportedAndKeepsTheName() {
    TForm1 form;
    FillTable(form.Grid(), 3);
    form.Grid().SetCell(5, 2, std::string(40000, 'x'));  // more than a workbook cell holds
    ModalDriver driver;
    driver.Then(ModalDriver::Choose(Path("fail.xls")));
    form.SaveExelClick();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].text, QStringLiteral("Экспорт данных - Ошибка !!!"));
    QCOMPARE(boxes_[0].caption, QStringLiteral("Внимание"));
    QCOMPARE(boxes_[0].flags, 0x10u);
    QVERIFY(!QFile::exists(Path("fail.xls")));
    QCOMPARE(QString::fromStdString(form.SaveDialog1State().fileName), Path("fail.xls"));

    // In English, and the next dialog offers the failed name again.
    form.Lang1Click();
    QString offered;
    driver.Then([&](QWidget* w) {
      offered = qobject_cast<QFileDialog*>(w)->selectedFiles().value(0);
      ModalDriver::Choose(Path("fail.xls"))(w);
    });
    form.SaveExelClick();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(offered, Path("fail.xls"));
    QCOMPARE(boxes_.size(), 2);
    QCOMPARE(boxes_[1].text, QStringLiteral("Export of the data - Error !!!"));
    QCOMPARE(boxes_[1].caption, QStringLiteral("Warning"));
  }

  void typeChangeStoresTheNameOfACancelledDialog_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("stored");
    QTest::newRow("xls to 2007") << "Arhive.xls" << 2 << "Arhive.xls.xlsx";
    QTest::newRow("xlsx to 2003") << "Arhive.xlsx" << 1 << "";
    QTest::newRow("xls to all files") << "Arhive.xls" << 3 << "";
    QTest::newRow("bare name to 2003") << "Arhive" << 1 << "Arhive.xls";
  }
  void typeChangeStoresTheNameOfACancelledDialog() {
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(QString, stored);
    TForm1 form;
    ModalDriver driver;
    QString shownAfter;
    driver.Then([&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      d->setDirectory(dir_.path());
      auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY(edit != nullptr);
      edit->clear();
      QTest::keyClicks(edit, typed);
      PickType(d, type);
      shownAfter = edit->text();
      d->reject();
    });
    form.SaveExelClick();
    QVERIFY(StepsTaken(driver));
    const QString expected = stored.isEmpty() ? QStringLiteral("Arhive.xlsx") : Path(stored);
    QCOMPARE(QString::fromStdString(form.SaveDialog1State().fileName), expected);
    QCOMPARE(form.SaveDialog1State().type, 1);
    QCOMPARE(shownAfter, typed);  // the shown name stays as typed
  }

  void printShowsAMaximisedPreview_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<QString>("title");
    QTest::newRow("ru") << 0 << "Предпросмотр печати";
    QTest::newRow("en") << 1 << "Print Preview";
  }
  void printShowsAMaximisedPreview() {
    QFETCH(int, lang);
    QFETCH(QString, title);
    TForm1 form;
    if (lang == 1) form.Lang1Click();
    FillTable(form.Grid(), 100);  // 101 body lines: two pages
    ModalDriver driver;
    QString seenTitle;
    bool maximised = false;
    int pages = 0;
    driver.Then([&](QWidget* w) {
      seenTitle = w->windowTitle();
      maximised = w->windowState().testFlag(Qt::WindowMaximized);
      if (auto* preview = w->findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
      qobject_cast<QDialog*>(w)->reject();
    });
    form.PrintClick();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(seenTitle, title);
    QVERIFY(maximised);
    QCOMPARE(pages, 2);
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::OutputExportTest)
#include "output_export_test.moc"
