// The main window's launchers of the tool windows: "Materials Setting " and
// "Screenshot from Device" open their windows modally with the gauge's data, and
// refuse while another job still uses the device.
#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/Unit1.h"
#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "platform/qt/qt_text.h"
#include "tool_test_support.h"
#include "tools/Unit5.h"
#include "tools/Unit7.h"
#include "tools/tool_session.h"
#include "tools/tool_widgets.h"

namespace rz47 {

using test::BoxWatcher;
using test::SimulatedGauge;

namespace {

// Calls `handle` with the modal window of type Form each time the GUI is idle, until
// `handle` returns true (it closes the window then).
template <typename Form>
class ModalHandler {
 public:
  explicit ModalHandler(std::function<bool(Form&)> handle) : handle_(std::move(handle)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* form = qobject_cast<Form*>(QApplication::activeModalWidget());
      if (form == nullptr) return;
      seen = form;
      if (handle_(*form)) timer_.stop();
    });
    timer_.start();
  }
  QPointer<Form> seen;

 private:
  std::function<bool(Form&)> handle_;
  QTimer timer_;
};

}  // namespace

class ToolLaunchersTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { test::InstallGuiMechanisms(); }
  void cleanup() { SimulatedGauge::EndSessions(); }

  void materialsSettingOpensTheFilledWindow() {
    SimulatedGauge gauge;
    TForm1 main;
    NeedMaterials = 1;
    std::string firstName;
    ModalHandler<TForm7> handler([&](TForm7& form) {
      if (!form.Button1->isEnabled()) return false;  // still reading
      firstName = form.Grid().CellString(1, 1);
      form.reject();
      return true;
    });
    main.Button3->click();  // returns when the window has been closed
    QVERIFY(handler.seen != nullptr);
    QCOMPARE(firstName, sim::NameOf(gauge.Backend().Model().materials[0].russian));
    QCOMPARE(NeedMaterials.load(), 0);
    // The closed window goes once its worker has ended.
    QTRY_VERIFY_WITH_TIMEOUT(handler.seen.isNull(), test::kJobWaitMs);
  }

  void screenshotCommandOpensTheWindow() {
    SimulatedGauge gauge;
    TForm1 main;
    bool started = false;
    QImage picture;
    QString title;
    ModalHandler<TForm5> handler([&](TForm5& form) {
      if (!started) {
        title = form.windowTitle();
        form.Button1->click();
        started = true;
        return false;
      }
      if (!form.Button1->isEnabled()) return false;
      picture = form.Picture();
      form.reject();
      return true;
    });
    main.ScreenShot->trigger();
    QVERIFY(handler.seen != nullptr);
    QCOMPARE(title, QStringLiteral("Скриншот"));
    QCOMPARE(picture.size(), QSize(132, 68));
    QCOMPARE(QColor(picture.pixel(0, 0)), QColor(Qt::black));  // the frame
    QTRY_VERIFY_WITH_TIMEOUT(handler.seen.isNull(), test::kJobWaitMs);
  }

  // A job that runs on its own (an archive read whose progress window was closed)
  // keeps the device: the materials window does not open and the user is told why.
  void busyDeviceRefusesTheMaterialsWindow() {
    sim::GaugeFaults faults;
    faults.silent = true;
    SimulatedGauge gauge(sim::MakeDemoGaugeModel(), faults);
    ToolGauge bar;
    StatusLabel label;
    std::shared_ptr<BMTreadUSB> running = StartToolJob(JobReadScreen, {&bar, &label, nullptr, nullptr});
    QVERIFY(running != nullptr);
    TForm1 main;
    NeedMaterials = 1;
    BoxWatcher watcher;
    main.Button3->click();
    QCOMPARE(watcher.boxes.size(), 1);
    QCOMPARE(watcher.boxes[0].text, QStringLiteral("Прибор занят другой операцией"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(NeedMaterials.load(), 1);
    QVERIFY(JobRunning(running));
  }
};

}  // namespace rz47

QTEST_MAIN(rz47::ToolLaunchersTest)
#include "tool_launchers_test.moc"
