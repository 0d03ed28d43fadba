#include "device/handover_loop.h"

namespace rz47 {

struct HandoverLoop::Call {
  const std::function<void()>* fn = nullptr;
  bool finished = false;  // ran, or withdrawn by Stop
};

HandoverLoop::HandoverLoop() : owner_(std::this_thread::get_id()) {
  previous_ = InstallSynchronizer([this](const std::function<void()>& fn) { Post(fn); });
}

HandoverLoop::~HandoverLoop() {
  Stop();
  InstallSynchronizer(std::move(previous_));
}

void HandoverLoop::Post(const std::function<void()>& fn) {
  if (std::this_thread::get_id() == owner_) {
    fn();
    return;
  }
  auto call = std::make_shared<Call>();
  call->fn = &fn;
  std::unique_lock lock(mutex_);
  if (stopped_) return;
  queue_.push_back(call);
  wake_.notify_all();
  wake_.wait(lock, [&] { return call->finished; });
}

void HandoverLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds tick) {
  while (!done()) {
    std::shared_ptr<Call> call;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait_for(lock, tick, [&] { return !queue_.empty(); })) continue;
      call = queue_.front();
      queue_.pop_front();
    }
    // The worker waits for this call, so its function stays alive while it runs.
    (*call->fn)();
    std::lock_guard lock(mutex_);
    call->finished = true;
    wake_.notify_all();
  }
}

void HandoverLoop::Stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
  for (const auto& call : queue_) call->finished = true;
  queue_.clear();
  wake_.notify_all();
}

}  // namespace rz47
