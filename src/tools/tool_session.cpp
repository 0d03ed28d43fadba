#include "tools/tool_session.h"

#include <QCoreApplication>

#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "device/session_registry.h"
#include "platform/message_box.h"
#include "platform/text_pair.h"
#include "tools/tool_texts.h"

namespace rz47 {
namespace {

void ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); }

}  // namespace

bool ClaimDevice() {
  if (!SessionRunning()) return true;
  if (LinkCancel.load() != 0) {
    CancelAndJoinSessions(ProcessEvents);
    if (!SessionRunning()) return true;
  }
  ShowMessageBox(Text(texts::kDeviceBusy), Text(texts::kWarning), kMbStopOk);
  return false;
}

std::shared_ptr<BMTreadUSB> StartToolJob(std::uint8_t job, const JobTargets& targets) {
  if (!ClaimDevice()) return nullptr;
  LinkStep = StepConnect;
  LinkJob = job;
  auto worker = std::make_shared<BMTreadUSB>();
  worker->SetTargets(targets.gauge, nullptr, targets.statusLabel, targets.grid, targets.imageBuffer);
  if (!StartSession(worker)) return nullptr;
  return worker;
}

bool JobRunning(const std::shared_ptr<BMTreadUSB>& worker) {
  return worker != nullptr && worker->Started() && !worker->Finished();
}

void CancelToolJob(const std::shared_ptr<BMTreadUSB>& worker) {
  if (JobRunning(worker) && CurrentSession() == worker) CancelSession();
}

void CancelAndWaitForToolJob(const std::shared_ptr<BMTreadUSB>& worker) {
  // Only the current session can still run: a newer one starts only after it ended.
  if (JobRunning(worker) && CurrentSession() == worker) CancelAndJoinSessions(ProcessEvents);
}

}  // namespace rz47
