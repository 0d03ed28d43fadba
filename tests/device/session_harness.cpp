#include "session_harness.h"

#include <algorithm>
#include <atomic>

#include "device/session_registry.h"
#include "platform/cp1251.h"

namespace rz47::test {

void TargetLog::SetProgress(int percent) {
  progress.push_back(percent);
  events.push_back("progress " + std::to_string(percent));
}

void TargetLog::SetGaugeVisible(bool visible) {
  gaugeVisible = visible;
  events.push_back(std::string("visible ") + (visible ? "1" : "0"));
}

void TargetLog::SetCaption(const std::string& caption) {
  title = Cp1251ToUtf8(caption);
  events.push_back("title " + title);
}

void TargetLog::CloseForm() {
  ++closes;
  events.push_back("close");
}

void TargetLog::SetStatusText(const std::string& text) {
  label = Cp1251ToUtf8(text);
  events.push_back("label " + label);
}

bool TargetLog::Saw(const std::string& event) const {
  return std::find(events.begin(), events.end(), event) != events.end();
}

SessionRun::SessionRun() {
  previousBackend_ = SetLinkBackend(gauge);
  previousBoxes_ = InstallMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                                   std::uint32_t flags) {
    boxes.push_back({Cp1251ToUtf8(text), Cp1251ToUtf8(caption), flags});
    return kIdOk;
  });
  LinkStatus = StatusOk;
  LinkCancel = 0;
}

SessionRun::~SessionRun() {
  if (worker != nullptr && worker->Started() && !worker->Finished()) {
    LinkCancel = 1;
    loop.RunUntil([&] { return worker->Finished(); });
  }
  if (worker != nullptr) worker->WaitFor();
  InstallMessageBoxHandler(previousBoxes_);
  SetLinkBackend(previousBackend_);
}

void SessionRun::Start(LinkJobCode job, bool needMaterials) {
  SessionOptions options;
  options.retryPause = std::chrono::milliseconds(0);
  options.pauseUi = [this](std::chrono::milliseconds d) { uiPauses.push_back(static_cast<long>(d.count())); };
  worker = std::make_shared<BMTreadUSB>(options);
  worker->SetTargets(&log, withCaption ? &log : nullptr, &log, withGrid ? &grid : nullptr,
                     withImage ? image.data() : nullptr);
  NeedMaterials = needMaterials ? 1 : 0;
  LinkStep = StepConnect;
  LinkJob = job;
  StartSession(worker);
}

void SessionRun::RunUntilEnd(int maxCalls) {
  loop.RunUntil([&] {
    if (gauge->CallCount() > static_cast<std::size_t>(maxCalls)) LinkCancel = 1;
    return worker->Finished();
  });
  worker->WaitFor();
}

void SessionRun::Run(LinkJobCode job, bool needMaterials, int maxCalls) {
  Start(job, needMaterials);
  RunUntilEnd(maxCalls);
}

}  // namespace rz47::test
