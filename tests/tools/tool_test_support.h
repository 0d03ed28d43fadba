// Shared pieces of the tool-window tests: the simulated gauge in process, a watcher
// that answers message boxes as a user would, and the program's GUI mechanisms.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QVector>
#include <functional>
#include <memory>

#include "app/message_boxes.h"
#include "device/session_registry.h"
#include "platform/link/ft_api.h"
#include "platform/qt/qt_synchronizer.h"
#include "platform/text_pair.h"
#include "sim/gauge_model.h"
#include "sim/simulated_backend.h"

namespace rz47::test {

// How long a test waits for a device job to get somewhere. Generous: the worker
// looks for the gauge at idle priority, which a loaded machine serves last.
inline constexpr int kJobWaitMs = 60000;

// Installs a simulated gauge as the link backend for the lifetime of the object.
class SimulatedGauge {
 public:
  explicit SimulatedGauge(sim::GaugeModel model = sim::MakeDemoGaugeModel(), sim::GaugeFaults faults = {})
      : backend_(std::make_shared<sim::SimulatedBackend>(std::move(model), faults)),
        previous_(SetLinkBackend(backend_)) {}
  ~SimulatedGauge() {
    EndSessions();
    SetLinkBackend(previous_);
  }
  sim::SimulatedBackend& Backend() { return *backend_; }

  // Ends whatever session still runs, letting its hand-overs finish.
  static void EndSessions() {
    CancelAndJoinSessions([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });
  }

 private:
  std::shared_ptr<sim::SimulatedBackend> backend_;
  std::shared_ptr<LinkBackend> previous_;
};

// Presses OK on every message box that shows up, recording its text and caption.
class BoxWatcher {
 public:
  struct Box {
    QString text;
    QString caption;
  };

  BoxWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerVisibleBoxes(); });
    timer_.start();
  }
  QVector<Box> boxes;
  // Runs while a box is up, before it is answered.
  std::function<void()> onBox;

 private:
  void AnswerVisibleBoxes() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      boxes.push_back({box->text(), box->windowTitle()});
      if (onBox) onBox();
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
      else box->reject();
    }
  }
  QTimer timer_;
};

// The GUI mechanisms rz47 installs at start, in Russian.
inline void InstallGuiMechanisms() {
  InstallQtSynchronizer();
  InstallQtMessageBoxes();
  LangIndex = 0;
  SetMessageButtonsLang(0);
}

inline void SetLanguage(int lang) {
  LangIndex = static_cast<std::int8_t>(lang);
  SetMessageButtonsLang(lang);
}

}  // namespace rz47::test
