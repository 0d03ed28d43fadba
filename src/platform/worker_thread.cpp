#include "platform/worker_thread.h"

#include <pthread.h>
#include <sched.h>

#include <exception>

namespace rz47 {

bool SetCurrentThreadPriority(ThreadPriority priority) {
  sched_param param{};
  param.sched_priority = 0;  // the only value both time-sharing classes accept
  const int policy = priority == ThreadPriority::Idle ? SCHED_IDLE : SCHED_OTHER;
  return pthread_setschedparam(pthread_self(), policy, &param) == 0;
}

ThreadPriority CurrentThreadPriority() {
  int policy = SCHED_OTHER;
  sched_param param{};
  pthread_getschedparam(pthread_self(), &policy, &param);
  return policy == SCHED_IDLE ? ThreadPriority::Idle : ThreadPriority::Normal;
}

WorkerThread::~WorkerThread() { WaitFor(); }

void WorkerThread::Start() {
  if (started_) return;
  started_ = true;
  thread_ = std::thread([this] { Run(); });
}

void WorkerThread::WaitFor() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void WorkerThread::Run() {
  try {
    Execute();
  } catch (const std::exception& e) {
    escapedError_ = e.what();
  } catch (...) {
    escapedError_ = "unknown error";
  }
  finished_.store(true, std::memory_order_release);
}

}  // namespace rz47
