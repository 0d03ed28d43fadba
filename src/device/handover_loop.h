// HandoverLoop: Synchronize for a program without a GUI event loop (rz47cli, tests).
//
// The thread that creates the loop plays the UI thread: it runs RunUntil, which
// carries out the hand-overs that workers post, one at a time, while each worker
// waits for its own. A hand-over made on the loop's own thread runs at once. After
// Stop (or once the loop is destroyed) a hand-over returns without running, and one
// still waiting is withdrawn, so a worker can always be joined.
//
// Constructing the loop installs it as the program's synchronizer; destroying it
// puts back the previous one. Create it before workers start.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/synchronize.h"

namespace rz47 {

class HandoverLoop {
 public:
  HandoverLoop();
  ~HandoverLoop();
  HandoverLoop(const HandoverLoop&) = delete;
  HandoverLoop& operator=(const HandoverLoop&) = delete;

  // Runs posted hand-overs until `done` returns true; `done` is asked after every
  // hand-over and at least every `tick`. Call on the loop's own thread.
  void RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds tick = std::chrono::milliseconds(10));
  void Stop();

 private:
  struct Call;
  void Post(const std::function<void()>& fn);

  std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::shared_ptr<Call>> queue_;
  bool stopped_ = false;
  SynchronizeFn previous_;
};

}  // namespace rz47
