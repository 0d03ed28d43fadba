// WorkerThread: the thread base of the device worker, on std::thread.
//
// A subclass overrides Execute, which runs on the new thread once Start is called
// (objects are created "suspended": nothing runs before Start, so the launcher can
// hand over its targets first). Terminate asks the loop in Execute to end; it is a
// flag that Execute polls through Terminated. WaitFor joins the thread.
//
// Threads: Start, Terminate, Terminated, Finished and WaitFor may be called from any
// thread; SetPriority changes the priority of the calling thread and is meant to be
// called by Execute itself. No exception leaves Execute: one that escapes is kept and
// reported by EscapedError after the thread has finished.
//
// The destructor joins a started thread; a subclass must make its Execute end
// (Terminate, or its own cancel flag) before the object dies.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace rz47 {

enum class ThreadPriority {
  Idle,    // runs only when the machine has nothing else to do (SCHED_IDLE)
  Normal,  // the ordinary time-sharing class (SCHED_OTHER)
};

// Sets the calling thread's scheduling class. Returns false when the system refuses
// (an unprivileged thread may not leave SCHED_IDLE unless RLIMIT_NICE allows it).
bool SetCurrentThreadPriority(ThreadPriority priority);
ThreadPriority CurrentThreadPriority();

class WorkerThread {
 public:
  WorkerThread() = default;
  virtual ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts Execute on a new thread; a second call does nothing.
  void Start();
  void Terminate() { terminated_.store(true, std::memory_order_release); }
  bool Terminated() const { return terminated_.load(std::memory_order_acquire); }
  // Execute has returned (or was never started and never will be).
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  bool Started() const { return started_; }
  // Joins the thread (no-op if not started or already joined). Not from the thread itself.
  void WaitFor();

  // The message of an exception that escaped Execute, empty if none. Read after Finished.
  const std::string& EscapedError() const { return escapedError_; }

 protected:
  virtual void Execute() = 0;
  // Sets the priority of the worker's own thread; call from Execute only.
  bool SetPriority(ThreadPriority priority) { return SetCurrentThreadPriority(priority); }

 private:
  void Run();

  std::thread thread_;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::string escapedError_;
};

}  // namespace rz47
