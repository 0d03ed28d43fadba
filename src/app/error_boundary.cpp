#include "app/error_boundary.h"

#include <QMessageBox>
#include <exception>

#include "app/about_box.h"

namespace rz47 {
namespace {

ExceptionReporter& Reporter() {
  static ExceptionReporter reporter;
  return reporter;
}

}  // namespace

Rz47Application::Rz47Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Rz47Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

void ShowApplicationException(const QString& text) {
  if (Reporter()) {
    Reporter()(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok);
  box.exec();
}

ExceptionReporter SetExceptionReporter(ExceptionReporter reporter) {
  return std::exchange(Reporter(), std::move(reporter));
}

bool RunGuarded(const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::exception& e) {
    // Our exception texts are UTF-8.
    ShowApplicationException(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowApplicationException(QStringLiteral("Unknown error"));
  }
  return false;
}

}  // namespace rz47
