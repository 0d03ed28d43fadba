#include "platform/qt/qt_synchronizer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/synchronize.h"

namespace rz47 {
namespace {

std::atomic<bool> shuttingDown{false};

// How often a waiting worker looks at the shutdown flag.
constexpr std::chrono::milliseconds kShutdownPoll{10};

// One queued hand-over, shared by the waiting worker and the queued call.
struct PendingCall {
  enum class State { Queued, Running, Done, Withdrawn };
  std::mutex mutex;
  std::condition_variable changed;
  State state = State::Queued;

  void Set(State next) {
    {
      std::lock_guard lock(mutex);
      state = next;
    }
    changed.notify_all();
  }
};

void RunOnGuiThread(QCoreApplication* app, const std::function<void()>& fn) {
  auto call = std::make_shared<PendingCall>();
  // `fn` lives in the waiting worker; the queued call touches it only after claiming
  // the call, and the worker does not return while the call runs.
  QMetaObject::invokeMethod(
      app,
      [call, &fn] {
        {
          std::lock_guard lock(call->mutex);
          if (call->state != PendingCall::State::Queued) return;
          call->state = PendingCall::State::Running;
        }
        struct MarkDone {
          PendingCall& call;
          ~MarkDone() { call.Set(PendingCall::State::Done); }
        } markDone{*call};
        fn();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(call->mutex);
  while (call->state != PendingCall::State::Done) {
    if (call->state == PendingCall::State::Queued && shuttingDown) {
      call->state = PendingCall::State::Withdrawn;
      return;
    }
    call->changed.wait_for(lock, kShutdownPoll);
  }
}

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
    RunOnGuiThread(app, fn);
  });
}

void BeginSynchronizerShutdown() { shuttingDown = true; }

bool SynchronizerShuttingDown() { return shuttingDown; }

}  // namespace rz47
