// The main window's file commands through real dialogs and message boxes: the save
// question aborts on Cancel, Open asks it too, Save As confirms replacing a file, a
// nameless table is saved through the dialog, failures are reported.
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/Unit1.h"
#include "app/message_boxes.h"
#include "archive/archive_file.h"
#include "files_modal_driver.h"
#include "platform/qt/qt_text.h"
#include "table/archive_count.h"

namespace rz47 {

using test::ModalDriver;

namespace {

void FillTable(GridData& grid, int rows) {
  grid.SetRowCount(rows + 1);
  for (int row = 1; row <= rows; ++row) {
    grid.SetRow(row, {std::to_string(row), "10:00:00", "01.02.2024", "1", std::to_string(row), "B", "1,00", "1500"});
  }
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteArchive(const QString& path, int rows) {
  GridData grid(8, 2);
  FillTable(grid, rows);
  QFile file(path);
  const std::string bytes = EncodeGrid(grid);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Waits until the driver has taken every step it was given.
bool StepsTaken(const ModalDriver& driver) {
  const bool taken = QTest::qWaitFor([&] { return driver.AllStepsTaken(); }, 5000);
  if (!taken) qWarning() << "windows seen:" << driver.seen;
  return taken;
}

}  // namespace

class FilesFormTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString Path(const QString& name) const { return dir_.path() + "/" + name; }

  // A shown window with a changed table named Wall.rz4 in the temporary folder.
  void PrepareChangedWall(TForm1& form, int rows = 3) {
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    FillTable(form.Grid(), rows);
    form.Document() = DocumentState{FromQString(dir_.path()), "Wall.rz4", true, true};
    form.UpdateTitle();
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    InstallQtMessageBoxes();
  }

  void cleanup() { QFile::remove(Path("Wall.rz4")); }

  void closingAsksAndOnlyCancelKeepsTheWindowOpen_data() {
    QTest::addColumn<int>("answer");  // 0 Cancel, 1 Escape, 2 No, 3 Yes
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<bool>("written");
    QTest::newRow("cancel") << 0 << true << false;
    QTest::newRow("escape") << 1 << true << false;
    QTest::newRow("no") << 2 << false << false;
    QTest::newRow("yes") << 3 << false << true;
  }
  void closingAsksAndOnlyCancelKeepsTheWindowOpen() {
    QFETCH(int, answer);
    QFETCH(bool, staysOpen);
    QFETCH(bool, written);
    TForm1 form;
    PrepareChangedWall(form);
    ModalDriver driver;
    const ModalDriver::Step steps[] = {ModalDriver::Press(QMessageBox::Cancel), ModalDriver::Escape(),
                                       ModalDriver::Press(QMessageBox::No), ModalDriver::Press(QMessageBox::Yes)};
    driver.Then(steps[answer]);
    const bool closed = form.close();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(driver.seen, QStringList{"Сохранить Wall.rz4 ?"});
    QCOMPARE(closed, !staysOpen);
    QCOMPARE(form.isVisible(), staysOpen);
    QCOMPARE(QFile::exists(Path("Wall.rz4")), written);
    QVERIFY(driver.unexpected.isEmpty());
  }

  void cancelledQuestionStopsNewAndOpen_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("escape");
    QTest::newRow("new, cancel") << false << false;
    QTest::newRow("new, escape") << false << true;
    QTest::newRow("open, cancel") << true << false;
    QTest::newRow("open, escape") << true << true;
  }
  void cancelledQuestionStopsNewAndOpen() {
    QFETCH(bool, open);
    QFETCH(bool, escape);
    TForm1 form;
    PrepareChangedWall(form);
    ModalDriver driver;
    driver.Then(escape ? ModalDriver::Escape() : ModalDriver::Press(QMessageBox::Cancel));
    if (open) form.Open->trigger();
    else form.New->trigger();
    QVERIFY(StepsTaken(driver));
    // No file dialog followed the question, and the table is as it was.
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(form.Grid().RowCount(), 4);
    QCOMPARE(form.Grid().Cell(0, 3), "3");
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7 - Wall.rz4*"));
  }

  void openAsksFirstThenReplacesTheTable() {
    WriteArchive(Path("Other.rz4"), 5);
    TForm1 form;
    PrepareChangedWall(form);
    ModalDriver driver;
    driver.Then(ModalDriver::Press(QMessageBox::No));
    driver.Then(ModalDriver::Choose(Path("Other.rz4")));
    form.Open->trigger();
    QVERIFY(StepsTaken(driver));
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(driver.seen.value(0), QStringLiteral("Сохранить Wall.rz4 ?"));
    QCOMPARE(form.Grid().RowCount(), 6);
    QCOMPARE(ArchiveCount, 5u);
    QCOMPARE(ToQString(form.Grid().Cell(1, 0)), QStringLiteral("Время"));
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7 - Other.rz4"));
    QVERIFY(!QFile::exists(Path("Wall.rz4")));
  }

  void saveAsConfirmsBeforeReplacingAFile() {
    WriteArchive(Path("Old.rz4"), 1);
    const QByteArray oldBytes = ReadAll(Path("Old.rz4"));
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    FillTable(form.Grid(), 3);  // read from the gauge: neither named nor modified
    QStringList proposed;
    const auto noteProposal = [&](QFileDialog* dialog) { proposed << dialog->selectedFiles().value(0); };

    ModalDriver driver;
    driver.Then(ModalDriver::Choose(Path("Old.rz4"), noteProposal));
    driver.Then(ModalDriver::Press(QMessageBox::No));  // the dialog's own question
    driver.Then(ModalDriver::Cancel());                // then give up
    form.SaveAs->trigger();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(ReadAll(Path("Old.rz4")), oldBytes);
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7"));

    driver.Then(ModalDriver::Choose(Path("Old.rz4"), noteProposal));
    driver.Then(ModalDriver::Press(QMessageBox::Yes));
    form.SaveAs->trigger();
    QVERIFY(StepsTaken(driver));
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(ReadAll(Path("Old.rz4")), QByteArray::fromStdString(EncodeGrid(form.Grid())));
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7 - Old.rz4"));
    QCOMPARE(proposed.size(), 2);
    QVERIFY2(proposed[0].endsWith("/Arhive.rz4"), qPrintable(proposed[0]));
    QVERIFY2(proposed[1].endsWith("/Old.rz4"), qPrintable(proposed[1]));
  }

  void saveOfANamelessTableGoesThroughTheDialog() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    FillTable(form.Grid(), 2);
    form.Document() = DocumentState{"", "", true, true};  // a row was deleted, nothing saved yet
    ModalDriver driver;
    driver.Then(ModalDriver::Choose(Path("Typed")));  // the dialog adds ".rz4"
    form.Save->trigger();
    QVERIFY(StepsTaken(driver));
    QVERIFY(driver.unexpected.isEmpty());
    QCOMPARE(ReadAll(Path("Typed.rz4")), QByteArray::fromStdString(EncodeGrid(form.Grid())));
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7 - Typed.rz4"));
  }

  void aFailedSaveIsReportedAndKeepsTheTitle() {
    TForm1 form;
    PrepareChangedWall(form);
    form.Document().archiveFolder = FromQString(Path("gone"));
    ModalDriver driver;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    driver.Then([&](QWidget* window) {
      if (auto* box = qobject_cast<QMessageBox*>(window)) {
        icon = box->icon();
        caption = box->windowTitle();
      }
      ModalDriver::Press(QMessageBox::Ok)(window);
    });
    form.Save->trigger();
    QVERIFY(StepsTaken(driver));
    QCOMPARE(driver.seen.size(), 1);
    QVERIFY2(driver.seen[0].contains(Path("gone/Wall.rz4")), qPrintable(driver.seen[0]));
    QCOMPARE(caption, QStringLiteral("Ошибка"));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7 - Wall.rz4*"));
  }

  void commandLineArgumentsAreJoinedIntoOnePath() {
    WriteArchive(Path("My Wall.rz4"), 2);
    TForm1 form;
    form.OpenFromCommandLine({Path("My"), "Wall.rz4"});
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7 - My Wall.rz4"));
    QCOMPARE(form.Grid().RowCount(), 3);
    QCOMPARE(form.OpenDialog1->selectedFiles().value(0), Path("My Wall.rz4"));
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::FilesFormTest)
#include "files_form_test.moc"
