// The program-wide error boundary. An exception that escapes a command while the
// event loop runs is shown in the standard error box with its own text, and the
// program goes on; main() shows one that escapes start-up or the loop and ends with 0.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace rz47 {

class Rz47Application : public QApplication {
 public:
  Rz47Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the standard error box (stop icon, OK, the program's title as caption).
void ShowApplicationException(const QString& text);

// Test seam: report exceptions here instead of showing a box (empty restores the box).
using ExceptionReporter = std::function<void(const QString&)>;
ExceptionReporter SetExceptionReporter(ExceptionReporter reporter);

// Runs `command`, reporting an exception it throws; true when it ran through.
bool RunGuarded(const std::function<void()>& command);

}  // namespace rz47
