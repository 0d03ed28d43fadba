// The main window's table driven by mouse and keys: heading sorts, row selection, the
// row popup and deletion, row dragging, status hints, the wheel, Ctrl+C and the
// sort's error box.
#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <climits>

#include "app/Unit1.h"
#include "app/error_boundary.h"
#include "app/message_boxes.h"
#include "app/string_grid_view.h"
#include "platform/format_settings.h"
#include "platform/qt/qt_text.h"
#include "table/archive_count.h"
#include "table/copy_text.h"

Q_DECLARE_METATYPE(rz47::GridRect)

namespace rz47 {

class TableFormTest : public QObject {
  Q_OBJECT

 private:
  // Rows numbered 1..speeds.size(); the speed column (7) holds `speeds`.
  static void Fill(TForm1& form, const QStringList& speeds) {
    GridData& grid = form.Grid();
    grid.SetRowCount(static_cast<int>(speeds.size()) + 1);
    for (int i = 0; i < speeds.size(); ++i) {
      const std::string number = std::to_string(i + 1);
      const std::string speed = FromQString(speeds[i]);
      grid.SetRow(i + 1, {number, "10:00:00", "17.06.2014", "1", number, FromQString(QStringLiteral("Бетон")),
                          "1.00", speed});
    }
  }

  static QStringList Column(TForm1& form, int col) {
    QStringList cells;
    for (int r = 1; r < form.Grid().RowCount(); ++r) cells << ToQString(form.Grid().Cell(col, r));
    return cells;
  }

  static void Show(TForm1& form) {
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
  }

  // Points on the parts of the view, in those parts' own coordinates.
  static QPoint HeadingPoint(TForm1& form, int col) {
    QHeaderView* header = form.StringGrid1->horizontalHeader();
    return {header->sectionViewportPosition(col - 1) + 5, header->height() / 2};
  }
  static QPoint NumberPoint(TForm1& form, int row) {
    QHeaderView* header = form.StringGrid1->verticalHeader();
    return {5, header->sectionViewportPosition(row - 1) + 5};
  }
  static QPoint CellPoint(TForm1& form, int col, int row) {
    return form.StringGrid1->visualRect(form.StringGrid1->model()->index(row - 1, col - 1)).center();
  }

  static void ClickHeading(TForm1& form, int col) {
    if (col == 0) {
      QTest::mouseClick(form.StringGrid1->findChild<QAbstractButton*>(), Qt::LeftButton, {}, QPoint(5, 5));
    } else {
      QTest::mouseClick(form.StringGrid1->horizontalHeader()->viewport(), Qt::LeftButton, {}, HeadingPoint(form, col));
    }
  }
  static void ClickNumber(TForm1& form, int row, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(form.StringGrid1->verticalHeader()->viewport(), button, {}, NumberPoint(form, row));
  }
  static void ClickBelowTheRows(TForm1& form) {
    QWidget* viewport = form.StringGrid1->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 5));
  }

  // The view's selection as a grid block (columns and rows of the grid).
  static GridRect ViewSelection(TForm1& form) {
    const QModelIndexList indexes = form.StringGrid1->selectionModel()->selectedIndexes();
    if (indexes.isEmpty()) return kNoSelection;
    GridRect r{INT_MAX, INT_MAX, -1, -1};
    for (const QModelIndex& i : indexes) {
      r.left = std::min(r.left, i.column() + 1);
      r.right = std::max(r.right, i.column() + 1);
      r.top = std::min(r.top, i.row() + 1);
      r.bottom = std::max(r.bottom, i.row() + 1);
    }
    return r;
  }

  static void CloseMenu(QMenu* menu) {
    if (menu->isVisible()) menu->close();
  }

 private slots:
  void initTestCase() {
    InstallQtMessageBoxes();
    SetFormatSettings(MakeFormatSettings("dd.MM.yyyy", '.'));
  }

  void headingClicksSortFirstDescendingThenAscending_data() {
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<int>("secondColumn");
    QTest::addColumn<QStringList>("afterFirst");
    QTest::addColumn<QStringList>("afterSecond");
    QTest::newRow("speed, then number") << 7 << 0 << QStringList{"2", "1", "3"} << QStringList{"1", "2", "3"};
    QTest::newRow("number, then speed") << 0 << 7 << QStringList{"3", "2", "1"} << QStringList{"3", "1", "2"};
  }

  void headingClicksSortFirstDescendingThenAscending() {
    QFETCH(int, firstColumn);
    QFETCH(int, secondColumn);
    QFETCH(QStringList, afterFirst);
    QFETCH(QStringList, afterSecond);
    TForm1 form;
    Fill(form, {"1500", "4200", "980"});
    Show(form);
    const QString title = form.windowTitle();
    QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, {}, CellPoint(form, 3, 2));
    QCOMPARE(form.Grid().Selection(), (GridRect{3, 2, 3, 2}));

    ClickHeading(form, firstColumn);
    QCOMPARE(form.SortDirection(), -1);
    QCOMPARE(Column(form, 0), afterFirst);
    ClickHeading(form, secondColumn);
    QCOMPARE(form.SortDirection(), 1);
    QCOMPARE(Column(form, 0), afterSecond);
    // Sorting leaves the selection, the flags and the title alone.
    QCOMPARE(form.Grid().Selection(), (GridRect{3, 2, 3, 2}));
    QCOMPARE(ViewSelection(form), (GridRect{3, 2, 3, 2}));
    QCOMPARE(form.windowTitle(), title);
    QVERIFY(!form.Document().modified);
  }

  void firstHeadingClickOnAnEmptyTableOnlyTurnsTheDirection() {
    TForm1 form;
    Show(form);
    ClickHeading(form, 7);
    QCOMPARE(form.SortDirection(), -1);
    QVERIFY(form.Grid().IsEmpty());
    Fill(form, {"1500", "4200", "980"});
    ClickHeading(form, 7);
    QCOMPARE(form.SortDirection(), 1);
    QCOMPARE(Column(form, 7), (QStringList{"980", "1500", "4200"}));
  }

  void sortErrorIsReportedAndTheTableStays() {
    TForm1 form;
    Fill(form, {"1500", "fast", "980"});
    Show(form);
    QStringList reported;
    ExceptionReporter previous = SetExceptionReporter([&](const QString& text) { reported << text; });
    ClickHeading(form, 7);
    SetExceptionReporter(previous);
    QCOMPARE(reported.size(), 1);
    QVERIFY2(reported[0].contains(QStringLiteral("'fast'")), qPrintable(reported[0]));
    QCOMPARE(Column(form, 7), (QStringList{"1500", "fast", "980"}));
    QCOMPARE(form.SortDirection(), -1);
  }

  void rowNumberSelectsTheRowAndOpensItsPopup() {
    TForm1 form;
    Fill(form, {"1", "2", "3", "4", "5", "6"});
    Show(form);
    ClickNumber(form, 5);
    QCOMPARE(form.Grid().Selection(), (GridRect{0, 5, 7, 5}));
    QCOMPARE(ViewSelection(form), (GridRect{1, 5, 7, 5}));

    ClickNumber(form, 4, Qt::RightButton);
    QVERIFY(!form.PopupMenu1->isVisible());
    ClickNumber(form, 5, Qt::RightButton);
    QVERIFY(form.PopupMenu1->isVisible());
    // At the pointer.
    const QPoint pointer = form.StringGrid1->verticalHeader()->viewport()->mapToGlobal(NumberPoint(form, 5));
    QVERIFY((form.PopupMenu1->pos() - pointer).manhattanLength() < 30);
    CloseMenu(form.PopupMenu1);

    // A click beside the cells clears the selection; the popup then stays shut.
    ClickBelowTheRows(form);
    QCOMPARE(form.Grid().Selection(), kNoSelection);
    QCOMPARE(ViewSelection(form), kNoSelection);
    ClickNumber(form, 5, Qt::RightButton);
    QVERIFY(!form.PopupMenu1->isVisible());

    // A right click on a data cell neither selects nor opens anything.
    QTest::mouseClick(form.StringGrid1->viewport(), Qt::RightButton, {}, CellPoint(form, 2, 2));
    QCOMPARE(form.Grid().Selection(), kNoSelection);
    QVERIFY(!form.PopupMenu1->isVisible());
  }

  void deletingRowsSetsTheFlagsAndOneStar() {
    TForm1 form;
    Fill(form, {"1500", "4200", "980"});
    Show(form);
    ClickNumber(form, 2);
    ClickNumber(form, 2, Qt::RightButton);
    QVERIFY(form.PopupMenu1->isVisible());
    form.Delete->trigger();
    CloseMenu(form.PopupMenu1);
    QCOMPARE(Column(form, 0), (QStringList{"1", "3"}));
    QCOMPARE(form.Grid().RowCount(), 3);
    QVERIFY(form.Document().named);
    QVERIFY(form.Document().modified);
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7*"));

    form.Delete->trigger();
    QCOMPARE(Column(form, 0), (QStringList{"1"}));
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7*"));
    // Named while the archive name is still empty.
    form.Lang1Click();
    QCOMPARE(form.windowTitle(), QStringLiteral("RZ-4.7 - *"));

    form.Grid().SetSelection({0, 1, 7, 1});
    form.Delete->trigger();
    QCOMPARE(form.Grid().RowCount(), 2);
    QVERIFY(form.Grid().IsEmpty());
  }

  void draggingARowNumberMovesTheRow() {
    TForm1 form;
    Fill(form, {"1500", "4200", "980", "2000"});
    Show(form);
    const QString title = form.windowTitle();
    QWidget* numbers = form.StringGrid1->verticalHeader()->viewport();
    QTest::mousePress(numbers, Qt::LeftButton, {}, NumberPoint(form, 1));
    QTest::mouseMove(numbers, NumberPoint(form, 2));
    QTest::mouseRelease(numbers, Qt::LeftButton, {}, NumberPoint(form, 3));
    QCOMPARE(Column(form, 0), (QStringList{"2", "3", "1", "4"}));
    QCOMPARE(Column(form, 7), (QStringList{"4200", "980", "1500", "2000"}));
    QCOMPARE(form.Grid().Selection(), (GridRect{0, 3, 7, 3}));
    QCOMPARE(form.windowTitle(), title);
    QVERIFY(!form.Document().modified);
    QVERIFY(!form.Document().named);
  }

  void statusHints_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<QString>("sortHint");
    QTest::addColumn<QString>("selectHint");
    QTest::newRow("ru") << 0 << "Левая кнопка мыши - Сортировка" << "Левая кнопка мыши + Тащить - Выделение";
    QTest::newRow("en") << 1 << "Left mouse button - Sort" << "Left mouse button + drag - Highlight";
  }

  void statusHints() {
    QFETCH(int, lang);
    QFETCH(QString, sortHint);
    QFETCH(QString, selectHint);
    TForm1 form;
    if (lang == 1) form.Lang1Click();
    Fill(form, {"1500", "4200"});
    Show(form);
    QTest::mouseMove(form.StringGrid1->horizontalHeader()->viewport(), HeadingPoint(form, 3));
    QCOMPARE(form.StatusText(), sortHint);
    QTest::mouseMove(form.StringGrid1->viewport(), CellPoint(form, 3, 1));
    QCOMPARE(form.StatusText(), selectHint);
    QTest::mouseMove(form.StringGrid1->viewport(), QPoint(20, form.StringGrid1->viewport()->height() - 5));
    QCOMPARE(form.StatusText(), selectHint);
    // The window's own background, between the two buttons.
    QWidget* background = form.centralWidget();
    QTest::mouseMove(background, QPoint(background->width() / 2, 5));
    QCOMPARE(form.StatusText(), QString());
  }

  void wheelScrollsOneRowAndKeepsTheSelection() {
    TForm1 form;
    QStringList speeds;
    for (int i = 0; i < 200; ++i) speeds << QString::number(1000 + i);
    Fill(form, speeds);
    Show(form);
    QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, {}, CellPoint(form, 2, 2));
    QScrollBar* bar = form.StringGrid1->verticalScrollBar();
    QCOMPARE(bar->value(), 0);
    auto notch = [&](int delta) {
      QWidget* viewport = form.StringGrid1->viewport();
      const QPointF at(20, 20);
      QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &event);
    };
    notch(120);  // at the start: nothing
    QCOMPARE(bar->value(), 0);
    notch(-120);
    QCOMPARE(bar->value(), 1);
    notch(-120);
    QCOMPARE(bar->value(), 2);
    notch(120);
    QCOMPARE(bar->value(), 1);
    QCOMPARE(form.Grid().Selection(), (GridRect{2, 2, 2, 2}));
    QCOMPARE(form.StringGrid1->currentIndex(), form.StringGrid1->model()->index(1, 1));
  }

  void ctrlC_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<GridRect>("selection");
    QTest::addColumn<bool>("wholeTable");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("single cell: whole table") << int(Qt::Key_C) << ctrl << GridRect{3, 2, 3, 2} << true;
    QTest::newRow("ctrl+shift+c") << int(Qt::Key_C) << int(ctrl | Qt::ShiftModifier) << GridRect{3, 2, 3, 2}
                                  << true;
    QTest::newRow("block") << int(Qt::Key_C) << ctrl << GridRect{5, 1, 7, 2} << false;
    QTest::newRow("whole row") << int(Qt::Key_C) << ctrl << GridRect{0, 2, 7, 2} << false;
    QTest::newRow("cleared selection") << int(Qt::Key_C) << ctrl << GridRect{-1, -1, -1, -1} << true;
    QTest::newRow("keypad 3") << int(Qt::Key_3) << int(ctrl | Qt::KeypadModifier) << GridRect{5, 1, 7, 2}
                              << false;
  }

  void ctrlC() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(GridRect, selection);
    QFETCH(bool, wholeTable);
    TForm1 form;
    Fill(form, {"1500", "4200", "980"});
    Show(form);
    ArchiveCount = 3;
    const GridRect block = selection;
    form.Grid().SetSelection(block);
    form.StringGrid1->ShowGridSelection();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    form.StringGrid1->setFocus();
    QTest::keyClick(form.StringGrid1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const std::string expected =
        wholeTable ? BuildTableCopyText(form.Grid(), 0) : BuildBlockCopyText(form.Grid(), block, 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), ToQString(expected));
  }

  void otherKeysAndARefusedCopyLeaveTheClipboard() {
    TForm1 form;
    Fill(form, {"1500", "4200"});
    Show(form);
    form.StringGrid1->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    ArchiveCount = 3;
    QTest::keyClick(form.StringGrid1, Qt::Key_C);  // no Ctrl
    QTest::keyClick(form.StringGrid1, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    QList<MessageBoxRecord> boxes;
    SetMessageBoxAnswerer([&](const MessageBoxRecord& r) {
      boxes << r;
      return 1;
    });
    ArchiveCount = 0;
    QTest::keyClick(form.StringGrid1, Qt::Key_C, Qt::ControlModifier);
    form.Copy2->trigger();
    SetMessageBoxAnswerer({});
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes[0].text, QStringLiteral("Таблтца пуста"));
    QCOMPARE(boxes[0].caption, QStringLiteral("Внимание"));
    QCOMPARE(boxes[0].flags, 0x10u);
  }

  void menuCopies() {
    TForm1 form;
    Fill(form, {"1500", "4200"});
    ArchiveCount = 2;
    form.Grid().SetSelection({7, 1, 7, 1});
    form.Copy2->trigger();  // the menu copies even a single cell as a block
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1500\t\t\r\n"));
    form.Copy1->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), ToQString(BuildTableCopyText(form.Grid(), 0)));
  }

  void virtualKeyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("C") << int(Qt::Key_C) << 0 << 0x43;
    QTest::newRow("C with Ctrl") << int(Qt::Key_C) << int(Qt::ControlModifier) << 0x43;
    QTest::newRow("A") << int(Qt::Key_A) << 0 << 0x41;
    QTest::newRow("Z") << int(Qt::Key_Z) << 0 << 0x5A;
    QTest::newRow("3") << int(Qt::Key_3) << 0 << 0x33;
    QTest::newRow("keypad 3") << int(Qt::Key_3) << int(Qt::KeypadModifier) << 0x63;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << int(Qt::KeypadModifier) << 0x60;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 0x70;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << 0;
  }

  void virtualKeyCodes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QCOMPARE(VirtualKeyCode(key, Qt::KeyboardModifiers(modifiers)), code);
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::TableFormTest)
#include "table_form_test.moc"
