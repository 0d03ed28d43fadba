#include "platform/qt/qt_synchronizer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>

#include "platform/synchronize.h"

namespace rz47 {
namespace {

std::atomic<bool> shuttingDown{false};

}  // namespace

void InstallQtSynchronizer() {
  shuttingDown = false;
  InstallSynchronizer([](const std::function<void()>& fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
      fn();
      return;
    }
    if (shuttingDown) return;
    QMetaObject::invokeMethod(app, [&fn] { if (!shuttingDown) fn(); }, Qt::BlockingQueuedConnection);
  });
}

void BeginSynchronizerShutdown() { shuttingDown = true; }

bool SynchronizerShuttingDown() { return shuttingDown; }

}  // namespace rz47
