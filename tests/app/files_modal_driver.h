// Answers the modal windows a command opens (message boxes, file dialogs), one
// scripted step per window, by polling for them from a timer. A window nobody
// scripted is recorded as unexpected and dismissed, so a test never hangs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace rz47::test {

class ModalDriver : public QObject {
 public:
  using Step = std::function<void(QWidget*)>;

  ModalDriver() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start();
  }

  void Then(Step step) { steps_.push_back(std::move(step)); }
  bool AllStepsTaken() const { return steps_.empty(); }

  QStringList seen;        // each window handled: a box's text or a dialog's title
  QStringList unexpected;  // windows that came without a step for them

  // Steps.
  static Step Press(QMessageBox::StandardButton button) {
    return [button](QWidget* window) {
      if (auto* box = qobject_cast<QMessageBox*>(window); box && box->button(button)) box->button(button)->click();
      else window->close();
    };
  }
  static Step Escape() {
    return [](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); };
  }
  // Chooses `path` in a file dialog; `before` sees the dialog first.
  static Step Choose(const QString& path, std::function<void(QFileDialog*)> before = {}) {
    return [path, before](QWidget* window) {
      auto* dialog = qobject_cast<QFileDialog*>(window);
      if (dialog == nullptr) {
        window->close();
        return;
      }
      if (before) before(dialog);
      // selectFile() moves to the folder but leaves a focused name field alone: type
      // the name as a user would.
      dialog->selectFile(path);
      if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
      static_cast<QDialog*>(dialog)->accept();  // the file dialog's own checks run
    };
  }
  static Step Cancel() {
    return [](QWidget* window) {
      if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
      else window->close();
    };
  }

 private:
  static QWidget* FindWindow() {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) return modal;
    // Boxes that leave the other windows usable are not modal: look for them too.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && qobject_cast<QMessageBox*>(window) != nullptr) return window;
    }
    return nullptr;
  }

  static QString Describe(QWidget* window) {
    if (auto* box = qobject_cast<QMessageBox*>(window)) return box->text();
    return window->windowTitle();
  }

  void Poll() {
    if (busy_) return;
    QWidget* window = FindWindow();
    if (window == nullptr) return;
    busy_ = true;
    // Act from the event loop, not from inside this timer: a step may open a nested
    // window (a dialog's overwrite question) that the timer must still see.
    QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(window)] {
      busy_ = false;
      if (!target || !target->isVisible()) return;
      seen << Describe(target);
      if (steps_.empty()) {
        unexpected << Describe(target);
        Cancel()(target);
        return;
      }
      Step step = std::move(steps_.front());
      steps_.pop_front();
      step(target);
    });
  }

  QTimer timer_;
  std::deque<Step> steps_;
  bool busy_ = false;
};

}  // namespace rz47::test
