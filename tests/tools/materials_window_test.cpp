// The materials window: texts, the typing rules of its grid, and its jobs against
// the simulated gauge (read, write in English, a write cut short).
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "device/link_state.h"
#include "device/materials.h"
#include "platform/cp1251.h"
#include "platform/qt/qt_text.h"
#include "table/qt/grid_model.h"
#include "tool_test_support.h"
#include "tools/Unit7.h"
#include "tools/materials_grid_view.h"
#include "tools/tool_widgets.h"

namespace rz47 {

using test::BoxWatcher;
using test::SimulatedGauge;

class MaterialsWindowTest : public QObject {
  Q_OBJECT

 private:
  static QString CellText(TForm7& form, int col, int row) { return ToQString(form.Grid().Cell(col, row)); }

  // Opens the cell editor on (col, row) holding `text`, the cursor at its end.
  static QLineEdit* EditCell(TForm7& form, int col, int row, const QString& text) {
    form.Grid().SetCell(col, row, FromQString(text));
    form.StringGrid1->SetCurrent({col, row});
    form.StringGrid1->edit(form.StringGrid1->currentIndex());
    QLineEdit* editor = form.StringGrid1->Editor();
    if (editor != nullptr) editor->end(false);
    return editor;
  }

  static void Type(QWidget* widget, int key, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(key), text, Qt::NoModifier);
  }

  static void ShowForm(TForm7& form) {
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.StringGrid1->setFocus();
  }

  static std::string NameOf(const sim::NameField& field) { return sim::NameOf(field); }

 private slots:
  void initTestCase() { test::InstallGuiMechanisms(); }
  void cleanup() {
    SimulatedGauge::EndSessions();
    test::SetLanguage(0);
  }

  void textsFollowTheLanguage_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("ru") << 0
                        << QStringList{"Настройка материалов", "№", "Материал", "Скорость звука, м/с",
                                       "Загрузить в прибор"};
    QTest::newRow("en") << 1
                        << QStringList{"Materials settings", "№", "Material", "Speed Sound, m/s",
                                       "Load into the device"};
  }
  void textsFollowTheLanguage() {
    QFETCH(int, lang);
    QFETCH(QStringList, texts);
    test::SetLanguage(lang);
    TForm7 form;
    QCOMPARE((QStringList{form.windowTitle(), CellText(form, 0, 0), CellText(form, 1, 0), CellText(form, 2, 0),
                          form.Button1->text()}),
             texts);
    QCOMPARE(form.Grid().RowCount(), 14);
    QCOMPARE(form.Grid().ColCount(), 3);
    QCOMPARE(form.StringGrid1->model()->headerData(1, Qt::Horizontal).toString(), texts[3]);
  }

  // Keys typed into a cell, with the editor open (cursor after "15") or closed.
  void typedKeys_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("warned");
    QTest::addColumn<QString>("editorText");  // "-" for no editor afterwards
    QTest::newRow("speed: digit") << 2 << true << int(Qt::Key_7) << "7" << false << "157";
    QTest::newRow("speed: letter") << 2 << true << int(Qt::Key_A) << "a" << true << "15";
    QTest::newRow("speed: cyrillic") << 2 << true << int(Qt::Key_unknown) << "ж" << true << "15";
    QTest::newRow("speed: blank") << 2 << true << int(Qt::Key_Space) << " " << true << "15";
    QTest::newRow("speed: backspace") << 2 << true << int(Qt::Key_Backspace) << "\b" << false << "1";
    QTest::newRow("speed, closed: letter") << 2 << false << int(Qt::Key_B) << "b" << true << "-";
    QTest::newRow("speed, closed: digit opens") << 2 << false << int(Qt::Key_3) << "3" << false << "3";
    QTest::newRow("name: letter") << 1 << true << int(Qt::Key_A) << "a" << false << "15a";
    QTest::newRow("name: cyrillic") << 1 << true << int(Qt::Key_unknown) << "ж" << false << "15ж";
    QTest::newRow("name: punctuation") << 1 << true << int(Qt::Key_Period) << "." << false << "15.";
  }
  void typedKeys() {
    QFETCH(int, col);
    QFETCH(bool, editing);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, warned);
    QFETCH(QString, editorText);
    TForm7 form;
    ShowForm(form);
    BoxWatcher watcher;
    QWidget* target = form.StringGrid1;
    if (editing) {
      target = EditCell(form, col, 5, QStringLiteral("15"));
      QVERIFY(target != nullptr);
    } else {
      form.Grid().SetCell(col, 5, "15");
      form.StringGrid1->SetCurrent({col, 5});
    }
    Type(target, key, text);
    QCOMPARE(watcher.boxes.size(), warned ? 1 : 0);
    if (warned) {
      QCOMPARE(watcher.boxes[0].text, QStringLiteral("Вводить только цифры!"));
      QCOMPARE(watcher.boxes[0].caption, QStringLiteral("Внимание"));
    }
    QLineEdit* editor = form.StringGrid1->Editor();
    QCOMPARE(editor != nullptr ? editor->text() : QStringLiteral("-"), editorText);
    if (!editing) QCOMPARE(CellText(form, col, 5), QStringLiteral("15"));
  }

  void enterMovesDown_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<int>("rowAfter");
    QTest::newRow("closed, row 4") << 2 << 4 << false << 5;
    QTest::newRow("open, row 4") << 2 << 4 << true << 5;
    QTest::newRow("closed, row 1") << 1 << 1 << false << 2;
    QTest::newRow("closed, row 13 wraps") << 1 << 13 << false << 1;
    QTest::newRow("open, row 13 wraps") << 1 << 13 << true << 1;
  }
  void enterMovesDown() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, editing);
    QFETCH(int, rowAfter);
    TForm7 form;
    ShowForm(form);
    QWidget* target = form.StringGrid1;
    if (editing) {
      target = EditCell(form, col, row, QStringLiteral("12"));
      QVERIFY(target != nullptr);
      Type(target, Qt::Key_9, QStringLiteral("9"));
    } else {
      form.StringGrid1->SetCurrent({col, row});
    }
    Type(target, Qt::Key_Return, QStringLiteral("\r"));
    QCOMPARE(form.StringGrid1->Current(), (GridCursor{col, rowAfter}));
    // Enter closes an open editor, keeping what was typed, and opens a closed one.
    QCOMPARE(form.StringGrid1->Editor() != nullptr, !editing);
    if (editing) QCOMPARE(CellText(form, col, row), QStringLiteral("129"));
  }

  // Past 20 name characters or 3 speed digits the whole text becomes selected, and the
  // next key replaces it.
  void lengthGuardSelectsTheWholeText_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("limit");
    QTest::newRow("name") << 1 << 20;
    QTest::newRow("speed") << 2 << 3;
  }
  void lengthGuardSelectsTheWholeText() {
    QFETCH(int, col);
    QFETCH(int, limit);
    TForm7 form;
    ShowForm(form);
    QLineEdit* editor = EditCell(form, col, 2, QString());
    QVERIFY(editor != nullptr);
    for (int i = 0; i < limit; ++i) Type(editor, Qt::Key_1, QStringLiteral("1"));
    QCOMPARE(editor->text(), QString(limit, QLatin1Char('1')));
    QVERIFY(!editor->hasSelectedText());
    Type(editor, Qt::Key_2, QStringLiteral("2"));
    const QString past = QString(limit, QLatin1Char('1')) + QLatin1Char('2');
    QCOMPARE(editor->text(), past);
    QCOMPARE(editor->selectedText(), past);
    QCOMPARE(CellText(form, col, 2), past);
    Type(editor, Qt::Key_3, QStringLiteral("3"));
    QCOMPARE(editor->text(), QStringLiteral("3"));
  }

  void pastedSpeedIsNeitherFilteredNorShortened() {
    TForm7 form;
    ShowForm(form);
    BoxWatcher watcher;
    QApplication::clipboard()->setText(QStringLiteral("12ab34567"));
    QLineEdit* editor = EditCell(form, 2, 3, QString());
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(editor->text(), QStringLiteral("12ab34567"));
    QCOMPARE(watcher.boxes.size(), 0);
    QCOMPARE(CellText(form, 2, 3), QStringLiteral("12ab34567"));
  }

  void readFillsTheRows_data() {
    QTest::addColumn<int>("lang");
    QTest::newRow("ru") << 0;
    QTest::newRow("en") << 1;
  }
  void readFillsTheRows() {
    QFETCH(int, lang);
    test::SetLanguage(lang);
    SimulatedGauge gauge;
    TForm7 form;
    NeedMaterials = 1;
    QVERIFY(form.StartRead());
    QCOMPARE(NeedMaterials.load(), 0);
    // While the read runs the grid is locked and nothing else may start.
    QVERIFY(!form.Button1->isEnabled());
    QVERIFY(!(form.StringGrid1->model()->flags(form.StringGrid1->model()->index(0, 0)) & Qt::ItemIsEditable));
    QTRY_VERIFY_WITH_TIMEOUT(!form.JobRunning(), test::kJobWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    const sim::GaugeModel model = gauge.Backend().Model();
    for (int j = 0; j < kGaugeMaterialCount; ++j) {
      const sim::GaugeMaterial& m = model.materials[static_cast<std::size_t>(j)];
      QCOMPARE(form.Grid().CellString(0, j + 1), std::to_string(m.number));
      QCOMPARE(form.Grid().CellString(1, j + 1), NameOf(lang == 0 ? m.russian : m.english));
      QCOMPARE(form.Grid().CellString(2, j + 1), std::to_string(m.speed));
    }
    QCOMPARE(form.Label1->text(), lang == 0 ? QStringLiteral("Готово") : QStringLiteral("Ready"));
    QVERIFY(form.CGauge1->isHidden());
    QVERIFY(form.StringGrid1->model()->flags(form.StringGrid1->model()->index(0, 0)) & Qt::ItemIsEditable);
  }

  // Read, edit one name in English, write, read again: only that English name changed
  // in the gauge, and the window shows it.
  void englishEditChangesOnlyTheEnglishName() {
    test::SetLanguage(1);
    SimulatedGauge gauge;
    const sim::GaugeModel before = gauge.Backend().Model();
    {
      TForm7 form;
      ShowForm(form);
      QVERIFY(form.StartRead());
      QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
      QLineEdit* editor = EditCell(form, 1, 3, QString());
      QVERIFY(editor != nullptr);
      QTest::keyClicks(editor, QStringLiteral("Foam B2"));
      Type(editor, Qt::Key_Return, QStringLiteral("\r"));
      QCOMPARE(CellText(form, 1, 3), QStringLiteral("Foam B2"));
      NeedMaterials = 0;
      QTest::mouseClick(form.Button1, Qt::LeftButton);
      QCOMPARE(NeedMaterials.load(), 1);
      QVERIFY(!form.Button1->isEnabled());
      QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
      QCOMPARE(form.Label1->text(), QStringLiteral("Ready"));
    }
    const sim::GaugeModel after = gauge.Backend().Model();
    for (std::size_t j = 0; j < sim::kMaterialCount; ++j) {
      const auto& b = before.materials[j];
      const auto& a = after.materials[j];
      QCOMPARE(NameOf(a.russian), NameOf(b.russian));
      QCOMPARE(a.speed, b.speed);
      QCOMPARE(a.number, b.number);
      QCOMPARE(NameOf(a.english), j == 2 ? std::string("Foam B2") : NameOf(b.english));
    }
    TForm7 again;
    QVERIFY(again.StartRead());
    QTRY_VERIFY_WITH_TIMEOUT(again.Button1->isEnabled(), test::kJobWaitMs);
    QCOMPARE(CellText(again, 1, 3), QStringLiteral("Foam B2"));
    QCOMPARE(again.Grid().CellString(1, 2), NameOf(before.materials[1].english));
  }

  // The gauge stops answering properly at material 7: materials 0 to 6 are written,
  // the rest keep their old speeds, and the window says why.
  void writeCutShortAtMaterial7() {
    test::SetLanguage(1);
    SimulatedGauge gauge;
    const sim::GaugeModel before = gauge.Backend().Model();
    TForm7 form;
    QVERIFY(form.StartRead());
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    for (int row = 1; row <= 13; ++row) form.Grid().SetCell(2, row, std::to_string(100 + row));
    sim::GaugeFaults faults;
    faults.wrongEchoMaterialWrite = 7;
    gauge.Backend().SetFaults(faults);
    form.Button1Click();
    QTRY_VERIFY_WITH_TIMEOUT(!form.JobRunning(), test::kJobWaitMs);
    QCOMPARE(form.Label1->text(), QStringLiteral("Check Connection"));
    QVERIFY(!form.CGauge1->isHidden());  // a failed write leaves the gauge up
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    const sim::GaugeModel after = gauge.Backend().Model();
    for (std::size_t j = 0; j < sim::kMaterialCount; ++j) {
      const std::uint16_t expected = j < 7 ? static_cast<std::uint16_t>(101 + j) : before.materials[j].speed;
      QCOMPARE(after.materials[j].speed, expected);
    }
  }

  // An emptied speed cell stops the write before anything reaches the gauge.
  void emptiedSpeedIsRefusedBeforeSending() {
    SimulatedGauge gauge;
    const sim::GaugeModel before = gauge.Backend().Model();
    TForm7 form;
    QVERIFY(form.StartRead());
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    form.Grid().SetCell(1, 1, "X");
    form.Grid().SetCell(2, 5, "");
    BoxWatcher watcher;
    form.Button1Click();
    QTRY_VERIFY_WITH_TIMEOUT(form.Button1->isEnabled(), test::kJobWaitMs);
    QCOMPARE(watcher.boxes.size(), 1);
    QVERIFY(watcher.boxes[0].text.startsWith(QStringLiteral("Строка 5")));
    const sim::GaugeModel after = gauge.Backend().Model();
    QCOMPARE(NameOf(after.materials[0].russian), NameOf(before.materials[0].russian));
    QCOMPARE(after.materials[4].speed, before.materials[4].speed);
  }

  // Closing the window while the read still waits for the gauge ends the session.
  void closingCancelsAWaitingRead() {
    sim::GaugeFaults faults;
    faults.silent = true;
    SimulatedGauge gauge(sim::MakeDemoGaugeModel(), faults);
    TForm7 form;
    ShowForm(form);
    QVERIFY(form.StartRead());
    QTRY_COMPARE_WITH_TIMEOUT(form.Label1->text(), QStringLiteral("Проверьте подключение"), test::kJobWaitMs);
    QVERIFY(form.JobRunning());
    form.reject();
    QTRY_VERIFY_WITH_TIMEOUT(!form.JobRunning(), test::kJobWaitMs);
    QVERIFY(!SessionRunning());
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::MaterialsWindowTest)
#include "materials_window_test.moc"
