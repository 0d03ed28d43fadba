// "Read from device" on the main window with the progress window: a read into the
// table, Cancel while no gauge is found, the close box (not a cancel), the busy
// refusal, and the end of the program while a worker still runs. The hand-over is
// the program's own (Qt event loop); the gauge is the simulator or a scripted fake.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

#include "app/Unit1.h"
#include "app/message_boxes.h"
#include "device/bmtread_usb.h"
#include "device/forms/Unit2.h"
#include "device/forms/form_targets.h"
#include "device/link_state.h"
#include "device/materials.h"
#include "device/session_registry.h"
#include "fake_gauge.h"
#include "gauge_bytes.h"
#include "platform/format_settings.h"
#include "platform/qt/qt_synchronizer.h"
#include "platform/synchronize.h"
#include "platform/text_pair.h"
#include "sim/gauge_model.h"
#include "sim/simulated_backend.h"
#include "table/archive_count.h"

namespace rz47 {

// What the progress window showed while the watcher looked at it.
struct Seen {
  QPointer<TForm2> form;
  QString title, label, button;
  int progress = -1;
};

class DeviceReadTest : public QObject {
  Q_OBJECT

 private:
  // Calls `onTick` for the modal progress window every few milliseconds until it
  // returns true; the timer lives as long as the returned object.
  static std::unique_ptr<QTimer> Watch(std::function<bool(TForm2&)> onTick) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(2);
    QObject::connect(timer.get(), &QTimer::timeout, [t = timer.get(), onTick] {
      auto* form = qobject_cast<TForm2*>(QApplication::activeModalWidget());
      if (form != nullptr && onTick(*form)) t->stop();
    });
    timer->start();
    return timer;
  }

  static void Record(TForm2& form, Seen& seen) {
    seen.form = &form;
    seen.title = form.windowTitle();
    seen.label = form.Label1->text();
    seen.button = form.Button1->text();
    seen.progress = form.CGauge1->Progress();
  }

  // Lets the GUI thread run the worker's hand-overs until the session has ended.
  static void FinishSession() {
    while (SessionRunning()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
  }

  std::shared_ptr<LinkBackend> previousBackend_;

 private slots:
  void initTestCase() {
    InstallQtSynchronizer();
    InstallQtMessageBoxes();
    SetFormatSettings(MakeFormatSettings("dd.MM.yyyy", ','));
    SetMessageBoxAnswerer([](const MessageBoxRecord&) { return 1; });
  }

  void init() {
    previousBackend_ = CurrentLinkBackend();
    LangIndex = 0;
    NeedMaterials = 1;
    MaterialNames = DefaultMaterialNames();
  }

  void cleanup() {
    FinishSession();
    SetLinkBackend(previousBackend_);
    LangIndex = 0;
  }

  void readFillsTheTableThenTheWindowCloses() {
    SetLinkBackend(std::make_shared<sim::SimulatedBackend>(sim::MakeDemoGaugeModel()));
    TForm1 form;
    Seen seen;
    auto watcher = Watch([&](TForm2& f) {
      Record(f, seen);
      return false;
    });
    form.Button1Click();
    FinishSession();
    QVERIFY(seen.form);
    QVERIFY(!seen.form->isVisible());
    QCOMPARE(seen.form->Label1->text(), QStringLiteral("Готово"));
    QVERIFY(seen.form->CGauge1->isHidden());
    QCOMPARE(form.Grid().RowCount(), 301);
    QCOMPARE(ArchiveCount, 300u);
    QCOMPARE(NeedMaterials.load(), 0);
    QVERIFY(!form.Document().modified);
    QCOMPARE(form.Grid().CellString(0, 300), std::string("300"));
    // The same archive again appends nothing.
    form.Button1Click();
    FinishSession();
    QCOMPARE(form.Grid().RowCount(), 301);
  }

  void cancelWhileNoGaugeIsFound_data() {
    QTest::addColumn<int>("lang");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::newRow("Russian") << 0 << QStringLiteral("Подключение") << QStringLiteral("Проверьте подключение");
    QTest::newRow("English") << 1 << QStringLiteral("Connection") << QStringLiteral("Check Connection");
  }

  void cancelWhileNoGaugeIsFound() {
    QFETCH(int, lang);
    QFETCH(QString, title);
    QFETCH(QString, label);
    auto gauge = std::make_shared<test::FakeGauge>();
    gauge->descriptions.clear();
    SetLinkBackend(gauge);
    TForm1 form;
    if (lang == 1) form.Lang1Click();
    Seen seen;
    auto watcher = Watch([&](TForm2& f) {
      if (f.windowTitle() != title || f.Label1->text() != label) return false;
      Record(f, seen);
      f.Button1->click();
      return true;
    });
    form.Button1Click();  // returns once the worker has closed the window
    FinishSession();
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.label, label);
    QCOMPARE(seen.button, QStringLiteral("Отмена"));
    QCOMPARE(seen.progress, 0);
    QVERIFY(!seen.form->isVisible());
    QCOMPARE(LinkCancel.load(), 0);
    QCOMPARE(form.Grid().RowCount(), 9);
    QCOMPARE(gauge->CountCalls("Open"), 0);
    QCOMPARE(NeedMaterials.load(), 1);
  }

  void closeBoxIsNotACancelAndTheTableStillFills() {
    auto gauge = std::make_shared<test::FakeGauge>();
    for (int s = 0; s < 3; ++s) gauge->archive.push_back(test::MakeArchiveRecord({.sec = s}));
    std::atomic<bool> windowClosed{false};
    gauge->onCall = [&](const test::LinkCall& call) {
      // Hold the read at its first record until the user has closed the window.
      if (call.command == 0x03 && call.index == 0) {
        while (!windowClosed) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    };
    SetLinkBackend(gauge);
    NeedMaterials = 0;  // so "Data Read" names the archive step
    TForm1 form;
    auto watcher = Watch([&](TForm2& f) {
      if (f.windowTitle() != QStringLiteral("Чтение данных")) return false;
      f.close();
      windowClosed = true;
      return true;
    });
    form.Button1Click();
    QVERIFY(windowClosed);
    FinishSession();
    QCOMPARE(form.Grid().RowCount(), 4);
    QCOMPARE(form.Grid().CellString(1, 3), std::string("09:05:02"));
    QCOMPARE(LinkCancel.load(), 0);
  }

  void secondReadIsRefusedWhileAWorkerRuns() {
    auto gauge = std::make_shared<test::FakeGauge>();
    gauge->descriptions.clear();
    SetLinkBackend(gauge);
    TForm1 form;
    auto watcher = Watch([&](TForm2& f) {
      f.close();  // the close box: the worker keeps searching
      return true;
    });
    form.Button1Click();
    QVERIFY(SessionRunning());
    std::vector<MessageBoxRecord> boxes;
    SetMessageBoxAnswerer([&](const MessageBoxRecord& r) {
      boxes.push_back(r);
      return 1;
    });
    form.Button1Click();
    SetMessageBoxAnswerer([](const MessageBoxRecord&) { return 1; });
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, QStringLiteral("Прибор занят, повторите позже"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    CancelSession();
  }

  void closingTheMainWindowEndsARunningWorker() {
    auto gauge = std::make_shared<test::FakeGauge>();
    gauge->descriptions.clear();
    SetLinkBackend(gauge);
    std::shared_ptr<BMTreadUSB> worker;
    {
      TForm1 form;
      auto watcher = Watch([&](TForm2& f) {
        f.close();
        return true;
      });
      form.Button1Click();
      worker = CurrentSession();
      QVERIFY(SessionRunning());
    }
    QVERIFY(worker->Finished());
    QVERIFY(!SessionRunning());
    QCOMPARE(LinkCancel.load(), 0);
  }

  void handOverQueuedAtShutdownIsWithdrawn() {
    std::atomic<bool> posted{false};
    bool ran = false;
    std::thread worker([&] {
      posted = true;
      Synchronize([&] { ran = true; });
    });
    while (!posted) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let it queue (either order is fine)
    BeginSynchronizerShutdown();
    worker.join();  // no event processing: the worker must still come back
    QCoreApplication::processEvents();
    InstallQtSynchronizer();
    QVERIFY(!ran);
  }

  void handOverRunsOnTheGuiThread() {
    std::thread::id ranOn;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      Synchronize([&] { ranOn = std::this_thread::get_id(); });
      done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    worker.join();
    QCOMPARE(ranOn, std::this_thread::get_id());
  }

  void progressWindowControls() {
    TForm2 form;
    QCOMPARE(form.windowTitle(), QString());
    QCOMPARE(form.Button1->text(), QStringLiteral("Отмена"));
    QVERIFY(form.CGauge1->isTextVisible());
    form.CGauge1->SetProgress(37);
    QCOMPARE(form.CGauge1->text(), QStringLiteral("37%"));
    LinkCancel = 0;
    form.show();
    form.close();  // the close box
    QCOMPARE(LinkCancel.load(), 0);
    form.Button1->click();
    QCOMPARE(LinkCancel.load(), 1);
    LinkCancel = 0;
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::DeviceReadTest)
#include "device_read_test.moc"
