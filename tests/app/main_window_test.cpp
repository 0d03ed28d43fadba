// The main window: start state, language switch, title rule, help keys.
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/Unit1.h"
#include "app/desktop_open.h"
#include "app/message_boxes.h"
#include "app/string_grid_view.h"
#include "platform/qt/qt_text.h"
#include "table/columns.h"

namespace rz47 {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // Every caption SetLang writes, read back from the window.
  static QStringList Captions(TForm1& f) {
    return {f.File->title(),        f.New->text(),        f.Open->text(),       f.Save->text(),
            f.SaveAs->text(),       f.SaveDialog2->windowTitle(), f.SaveExel->text(),
            f.SaveDialog1->windowTitle(), f.Print->text(), f.Exit->text(),     f.Edit->title(),
            f.Copy1->text(),        f.Copy2->text(),      f.ScreenShot->text(), f.Help->title(),
            f.Contents->text(),     f.About->text(),      f.Button1->text(),    f.Button3->text(),
            f.Delete->text()};
  }

  static QStringList Headings(TForm1& f) {
    QStringList headings;
    for (int col = 0; col < f.Grid().ColCount(); ++col) headings << ToQString(f.Grid().Cell(col, 0));
    return headings;
  }

 private slots:
  void startState() {
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("РЗ-4.7"));
    QVERIFY(form.Lang0->isChecked());
    QVERIFY(!form.Lang1->isChecked());
    QCOMPARE(form.Grid().RowCount(), 9);
    QCOMPARE(form.Grid().ColCount(), 8);
    QVERIFY(form.Grid().IsEmpty());
    QCOMPARE(Headings(form), (QStringList{"№", "Время", "Дата", "Серия", "Номер", "Материал",
                                          "Толщина, мм", "Скорость звука, м/с"}));
    QCOMPARE(form.StatusText(), QString());
    QCOMPARE(form.Language1->title(), QStringLiteral("Language(Язык)"));
    QCOMPARE(form.Lang0->text(), QStringLiteral("русский"));
    QCOMPARE(form.Lang1->text(), QStringLiteral("english"));
    // The model shows 8 data rows and 7 data columns beside the fixed row and column.
    QCOMPARE(form.StringGrid1->model()->rowCount(), 8);
    QCOMPARE(form.StringGrid1->model()->columnCount(), 7);
    QCOMPARE(form.StringGrid1->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Время"));
  }

  void languageSwitchRelabelsEverything() {
    TForm1 form;
    const QStringList russian{"Файл", "Создать", "Открыть", "Сохранить", "Сохранить как...",
                              "Сохранить как...", "Экспорт в Exel", "Экспорт в Exel", "Печать", "Выход",
                              "Правка", "Копировать таблицу в буфер", "Копировать выделенное в буфер(Ctrl+C)",
                              "Скриншот из прибора", "Помощь", "Справка", "О приборе", "Загрузить архив",
                              "Настройка Материалов", "Удалить"};
    const QStringList english{"File", "New", "Open", "Save", "Save As...", "Save As...", "Export to Exel",
                              "Export to Exel", "Print", "Exit", "Edit", "Copy table to clipboard",
                              "Copy select to clipboard (Ctrl+C)", "Screenshot from Device", "Help",
                              "Information", "About", "Read from device", "Materials Setting ", "Delete"};
    QCOMPARE(Captions(form), russian);
    form.Grid().SetCell(5, 1, FromQString(QStringLiteral("Кирпич")));
    form.Lang1->trigger();
    QCOMPARE(Captions(form), english);
    QVERIFY(form.Lang1->isChecked());
    QVERIFY(!form.Lang0->isChecked());
    QCOMPARE(Headings(form), (QStringList{"№", "Time", "Date", "Series", "Number", "Material", "Thickness, mm",
                                          "Speed Sound, m/s"}));
    QCOMPARE(form.windowTitle(), QStringLiteral("RZ-4.7"));
    QCOMPARE(ButtonTexts.Yes, std::string("Yes"));
    // Data rows keep the language they were filled in.
    QCOMPARE(ToQString(form.Grid().Cell(5, 1)), QStringLiteral("Кирпич"));
    // The language menu's own captions never change.
    QCOMPARE(form.Language1->title(), QStringLiteral("Language(Язык)"));
    form.Lang0->trigger();
    QCOMPARE(Captions(form), russian);
    QCOMPARE(ButtonTexts.Yes, Text(TextPair{"Да", "Yes"}, 0));
  }

  void titleRule_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("ru plain") << 0 << false << false << "Arhive 0.rz4" << "РЗ-4.7";
    QTest::newRow("ru named") << 0 << true << false << "Arhive 0.rz4" << "РЗ-4.7 - Arhive 0.rz4";
    QTest::newRow("ru modified") << 0 << false << true << "Arhive 0.rz4" << "РЗ-4.7*";
    QTest::newRow("ru both") << 0 << true << true << "Arhive 0.rz4" << "РЗ-4.7 - Arhive 0.rz4*";
    QTest::newRow("en plain") << 1 << false << false << "Arhive 0.rz4" << "RZ-4.7";
    QTest::newRow("en named") << 1 << true << false << "Arhive 0.rz4" << "RZ-4.7 - Arhive 0.rz4";
    QTest::newRow("en modified") << 1 << false << true << "Arhive 0.rz4" << "RZ-4.7*";
    QTest::newRow("en both") << 1 << true << true << "Arhive 0.rz4" << "RZ-4.7 - Arhive 0.rz4*";
    // A deletion names the table while the archive name is still empty.
    QTest::newRow("en named, empty name") << 1 << true << true << "" << "RZ-4.7 - *";
    QTest::newRow("ru cyrillic name") << 0 << true << false << "Стена.rz4" << "РЗ-4.7 - Стена.rz4";
  }

  void titleRule() {
    QFETCH(int, lang);
    QFETCH(bool, named);
    QFETCH(bool, modified);
    QFETCH(QString, name);
    QFETCH(QString, title);
    TForm1 form;
    form.Document() = DocumentState{"/data", FromQString(name), named, modified};
    if (lang == 1) form.Lang1Click();
    else form.Lang0Click();
    QCOMPARE(form.windowTitle(), title);
  }

  void helpKeysOpenTheirFilesByBareName() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QList<QUrl> opened;
    UrlOpener previous = SetUrlOpener([&](const QUrl& url) { opened << url; });
    form.StringGrid1->setFocus();
    QTest::keyClick(form.StringGrid1, Qt::Key_F1);
    form.Contents->trigger();
    SetUrlOpener(previous);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].fileName(), QStringLiteral("RZ60.chm"));
    QCOMPARE(opened[1].fileName(), QStringLiteral("RZ47.chm"));
  }

  void archiveDialogsOfferTheArchiveTypes() {
    TForm1 form;
    const QStringList filters{"RZ-4.7 (*.rz4)", "All Files (*.*)"};
    QCOMPARE(form.OpenDialog1->nameFilters(), filters);
    QCOMPARE(form.SaveDialog2->nameFilters(), filters);
    QCOMPARE(form.SaveDialog2->defaultSuffix(), QStringLiteral("rz4"));
    QCOMPARE(form.SaveDialog2->acceptMode(), QFileDialog::AcceptSave);
  }

  void millionRowTableIsCheapToShow() {
    TForm1 form;
    form.Grid().SetRowCount(1'000'001);
    form.Grid().SetCell(0, 1'000'000, "1000000");
    QCOMPARE(form.StringGrid1->model()->rowCount(), 1'000'000);
    QCOMPARE(form.StringGrid1->model()->headerData(999'999, Qt::Vertical).toString(), QStringLiteral("1000000"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.StringGrid1->scrollToBottom();
    QTest::qWait(10);
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::MainWindowTest)
#include "main_window_test.moc"
