// The error boundary: an exception escaping a command is shown with its own text and
// the program goes on.
#include <QTest>
#include <QTimer>

#include "app/error_boundary.h"
#include "platform/convert_error.h"

namespace rz47 {

class ErrorBoundaryTest : public QObject {
  Q_OBJECT

 private slots:
  void exceptionInAnEventIsReportedAndTheLoopGoesOn() {
    QStringList reported;
    ExceptionReporter previous = SetExceptionReporter([&](const QString& text) { reported << text; });
    bool laterEventRan = false;
    QTimer::singleShot(0, [] { throw EConvertError("'abc' is not a valid integer value"); });
    QTimer::singleShot(5, [&] { laterEventRan = true; });
    QTRY_VERIFY(laterEventRan);
    SetExceptionReporter(previous);
    QCOMPARE(reported, QStringList{"'abc' is not a valid integer value"});
  }

  void runGuardedTellsWhetherTheCommandRanThrough() {
    QStringList reported;
    ExceptionReporter previous = SetExceptionReporter([&](const QString& text) { reported << text; });
    QVERIFY(RunGuarded([] {}));
    QVERIFY(!RunGuarded([] { throw std::runtime_error("Кириллица"); }));
    SetExceptionReporter(previous);
    QCOMPARE(reported, QStringList{"Кириллица"});
  }
};

}  // namespace rz47

int main(int argc, char** argv) {
  rz47::Rz47Application app(argc, argv);
  rz47::ErrorBoundaryTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "error_boundary_test.moc"
