// The worker base: runs Execute once started, ends on Terminate, keeps an escaped
// exception, sets its own priority.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "platform/worker_thread.h"

namespace rz47 {
namespace {

class LoopWorker : public WorkerThread {
 public:
  std::atomic<int> passes{0};
  ThreadPriority seen = ThreadPriority::Normal;
  bool throwAfterStart = false;

 protected:
  void Execute() override {
    SetPriority(ThreadPriority::Idle);
    seen = CurrentThreadPriority();
    if (throwAfterStart) throw std::runtime_error("device gone");
    while (!Terminated()) ++passes;
  }
};

TEST(WorkerThread, NothingRunsBeforeStartAndTerminateEndsTheLoop) {
  LoopWorker worker;
  EXPECT_FALSE(worker.Started());
  EXPECT_EQ(worker.passes, 0);
  worker.Start();
  while (worker.passes == 0) std::this_thread::yield();
  worker.Terminate();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
  EXPECT_TRUE(worker.EscapedError().empty());
  EXPECT_EQ(worker.seen, ThreadPriority::Idle);
  // The caller's own thread keeps its priority.
  EXPECT_EQ(CurrentThreadPriority(), ThreadPriority::Normal);
}

TEST(WorkerThread, AnExceptionStaysOnTheWorkerAndIsKept) {
  LoopWorker worker;
  worker.throwAfterStart = true;
  worker.Start();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
  EXPECT_EQ(worker.EscapedError(), "device gone");
}

}  // namespace
}  // namespace rz47
