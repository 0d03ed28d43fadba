// Message boxes: real QMessageBoxes with the program's button captions and results.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <atomic>
#include <thread>

#include "app/message_boxes.h"
#include "platform/message_box.h"
#include "platform/qt/qt_synchronizer.h"
#include "platform/qt/qt_text.h"

namespace rz47 {
namespace {

// Waits for the next modal or active message box, lets `act` work on it.
void AnswerNextBox(std::function<void(QMessageBox&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr) w = QApplication::activeWindow();
    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start();
}

QStringList VisibleButtonCaptions(QMessageBox& box) {
  QStringList captions;
  for (QMessageBox::StandardButton b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
    if (QAbstractButton* button = box.button(b)) captions << button->text();
  }
  return captions;
}

}  // namespace

class MessageBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    InstallQtSynchronizer();
    InstallQtMessageBoxes();
  }

  void buttonsCarryTheLanguagesCaptions_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("ru stop") << 0 << 0x10u << QStringList{"ОК"};
    QTest::newRow("en stop") << 1 << 0x10u << QStringList{"OK"};
    QTest::newRow("ru question") << 0 << 0x2023u << QStringList{"Да", "Нет", "Отмена"};
    QTest::newRow("en question") << 1 << 0x2023u << QStringList{"Yes", "No", "Cancel"};
  }

  void buttonsCarryTheLanguagesCaptions() {
    QFETCH(int, lang);
    QFETCH(uint, flags);
    QFETCH(QStringList, captions);
    SetMessageButtonsLang(lang);
    QStringList seen;
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    AnswerNextBox([&](QMessageBox& box) {
      seen = VisibleButtonCaptions(box);
      text = box.text();
      caption = box.windowTitle();
      icon = box.icon();
      box.button(flags == 0x10u ? QMessageBox::Ok : QMessageBox::Cancel)->click();
    });
    const std::string cpText = FromQString(QStringLiteral("Таблтца пуста"));
    const std::string cpCaption = FromQString(QStringLiteral("Внимание"));
    ShowMessageBox(cpText, cpCaption, flags);
    QCOMPARE(seen, captions);
    QCOMPARE(text, QStringLiteral("Таблтца пуста"));
    QCOMPARE(caption, QStringLiteral("Внимание"));
    QCOMPARE(icon, flags == 0x10u ? QMessageBox::Critical : QMessageBox::Question);
  }

  void russianOkIsWrittenInCyrillic() {
    SetMessageButtonsLang(0);
    QCOMPARE(ButtonTexts.Ok, std::string("\xCE\xCA"));
  }

  void resultsOfEachButton_data() {
    QTest::addColumn<int>("pressed");  // a StandardButton, or 0 for Escape
    QTest::addColumn<uint>("flags");
    QTest::addColumn<int>("result");
    QTest::newRow("ok") << int(QMessageBox::Ok) << 0x10u << 1;
    QTest::newRow("escape on ok") << 0 << 0x10u << 1;
    QTest::newRow("yes") << int(QMessageBox::Yes) << 0x2023u << 6;
    QTest::newRow("no") << int(QMessageBox::No) << 0x2023u << 7;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << 0x2023u << 2;
    QTest::newRow("escape on question") << 0 << 0x2023u << 2;
  }

  void resultsOfEachButton() {
    QFETCH(int, pressed);
    QFETCH(uint, flags);
    QFETCH(int, result);
    SetMessageButtonsLang(1);
    AnswerNextBox([pressed](QMessageBox& box) {
      if (pressed == 0) QTest::keyClick(&box, Qt::Key_Escape);
      else box.button(static_cast<QMessageBox::StandardButton>(pressed))->click();
    });
    QCOMPARE(ShowMessageBox("question", "caption", flags), result);
  }

  void questionBlocksOtherWindowsButStopBoxDoesNot() {
    SetMessageButtonsLang(1);
    Qt::WindowModality questionModality = Qt::NonModal, stopModality = Qt::ApplicationModal;
    AnswerNextBox([&](QMessageBox& box) {
      questionModality = box.windowModality();
      box.button(QMessageBox::No)->click();
    });
    ShowMessageBox("q", "c", 0x2023);
    AnswerNextBox([&](QMessageBox& box) {
      stopModality = box.windowModality();
      box.button(QMessageBox::Ok)->click();
    });
    ShowMessageBox("s", "c", 0x10);
    QCOMPARE(questionModality, Qt::ApplicationModal);
    QCOMPARE(stopModality, Qt::NonModal);
  }

  void blankCaptionsBeforeTheFirstLanguageSwitch() {
    ButtonTexts = MessageButtons{};
    QStringList seen;
    AnswerNextBox([&](QMessageBox& box) {
      seen = VisibleButtonCaptions(box);
      box.button(QMessageBox::Yes)->click();
    });
    QCOMPARE(ShowMessageBox("q", "c", 0x2023), 6);
    QCOMPARE(seen, (QStringList{"", "", ""}));
  }

  void workerBoxIsShownByTheGuiThreadWhileTheWorkerWaits() {
    SetMessageButtonsLang(0);
    QStringList seen;
    AnswerNextBox([&](QMessageBox& box) {
      seen = VisibleButtonCaptions(box);
      box.button(QMessageBox::Yes)->click();
    });
    int result = -1;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      result = ShowMessageBox("from worker", "caption", 0x2023);
      done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    worker.join();
    QCOMPARE(result, 6);
    QCOMPARE(seen, (QStringList{"Да", "Нет", "Отмена"}));
  }

  void answererSeamRecordsWithoutShowing() {
    SetMessageButtonsLang(1);
    QList<MessageBoxRecord> records;
    SetMessageBoxAnswerer([&](const MessageBoxRecord& r) {
      records << r;
      return 7;
    });
    QCOMPARE(ShowMessageBox("Save x ?", "Warning", 0x2023), 7);
    SetMessageBoxAnswerer({});
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].text, QStringLiteral("Save x ?"));
    QCOMPARE(records[0].flags, 0x2023u);
    QCOMPARE(records[0].buttonCaptions, (QStringList{"Yes", "No", "Cancel"}));
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::MessageBoxesTest)
#include "message_boxes_test.moc"
