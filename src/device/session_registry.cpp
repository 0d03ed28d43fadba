#include "device/session_registry.h"

#include <thread>

#include "device/bmtread_usb.h"
#include "device/link_state.h"

namespace rz47 {
namespace {

std::shared_ptr<BMTreadUSB>& Current() {
  static std::shared_ptr<BMTreadUSB> current;
  return current;
}

}  // namespace

bool SessionRunning() {
  const auto& current = Current();
  return current != nullptr && current->Started() && !current->Finished();
}

std::shared_ptr<BMTreadUSB> CurrentSession() { return Current(); }

bool StartSession(std::shared_ptr<BMTreadUSB> worker) {
  if (worker == nullptr || SessionRunning()) return false;
  if (Current() != nullptr) Current()->WaitFor();
  LinkCancel = 0;
  Current() = std::move(worker);
  Current()->Start();
  return true;
}

void CancelSession() {
  if (SessionRunning()) LinkCancel = 1;
}

void CancelAndJoinSessions(const std::function<void()>& whileWaiting) {
  const auto current = Current();
  if (current == nullptr) return;
  CancelSession();
  while (current->Started() && !current->Finished()) {
    if (whileWaiting) whileWaiting();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  current->WaitFor();
}

}  // namespace rz47
