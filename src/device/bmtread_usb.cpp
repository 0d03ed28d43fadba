#include "device/bmtread_usb.h"

#include <thread>

#include "device/link_state.h"
#include "device/session_texts.h"
#include "platform/format_settings.h"
#include "platform/message_box.h"
#include "platform/synchronize.h"
#include "platform/text_pair.h"

namespace rz47 {

BMTreadUSB::BMTreadUSB(SessionOptions options) : options_(std::move(options)) {
  if (!options_.pauseUi) options_.pauseUi = [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); };
}

BMTreadUSB::~BMTreadUSB() {
  // A worker that is still running must be told to end before it can be joined.
  if (Started() && !Finished()) LinkCancel = 1;
  WaitFor();
}

void BMTreadUSB::SetTargets(ProgressGaugeTarget* gauge, CaptionFormTarget* captionForm,
                            StatusLabelTarget* statusLabel, GridData* targetGrid, std::uint8_t* imageBuffer) {
  Gauge = gauge;
  CaptionForm = captionForm;
  StatusLabel = statusLabel;
  TargetGrid = targetGrid;
  ImageBuffer = imageBuffer;
}

void BMTreadUSB::Execute() {
  // Time cells read "hh:mm:ss" from the first session of the run on.
  Synchronize([] {
    FormatSettings fs = CurrentFormatSettings();
    fs.longTimeFormat = "hh:mm:ss";
    SetFormatSettings(fs);
  });
  while (!Terminated()) {
    HandOver();
    const std::uint8_t step = LinkStep;
    RunStep();
    if (!Terminated() && LinkStep == step && LinkStatus != StatusOk) PauseBeforeRetry();
  }
}

void BMTreadUSB::RunStep() {
  // A step whose purge keeps failing (an unplugged gauge) never reaches a transfer,
  // so a cancel is honoured here too, or it could never end the session.
  if (Cancelled() && LinkStep != StepConnect) LinkStep = StepClose;
  switch (LinkStep) {
    case StepConnect: return Connect();
    case StepVersion: return ReadVersion();
    case StepParams: return ReadParams();
    case StepArchive: return ReadArchive();
    case StepMaterialsRead: return ReadMaterials();
    case StepMaterialsWrite: return WriteMaterials();
    case StepScreen: return ReadScreen();
    default: return CloseLink();
  }
}

void BMTreadUSB::SyncProgress() {
  if (Gauge != nullptr) {
    if (ProgressValue > 100) ProgressValue = 100;
    Gauge->SetProgress(ProgressValue);
  }
  const texts::StatusText& status = texts::kStatusTexts[LinkStatus < kStatusCount ? LinkStatus : std::uint8_t{StatusNoLink}];
  if (StatusLabel != nullptr) StatusLabel->SetStatusText(Text(status.label));
  if (status.pauseUi) options_.pauseUi(kNoDataPause);
  if (!status.thenStepTexts) return;

  const texts::StepText& step = texts::kStepTexts[LinkStep < kStepCount ? LinkStep : std::uint8_t{StepClose}];
  if (step.title && CaptionForm != nullptr) CaptionForm->SetCaption(Text(*step.title));
  if (step.label && StatusLabel != nullptr) StatusLabel->SetStatusText(Text(*step.label));
  if (step.hideGauge && Gauge != nullptr) Gauge->SetGaugeVisible(false);
}

void BMTreadUSB::HandOver() {
  Synchronize([this] { SyncProgress(); });
}

void BMTreadUSB::Report(int progress) {
  ProgressValue = progress;
  HandOver();
}

bool BMTreadUSB::Cancelled() const { return LinkCancel.load() != 0; }

bool BMTreadUSB::DeviceCall(FT_STATUS status) {
  // A failure shows only until the next call that succeeds.
  if (status != FT_OK) return false;
  LinkStatus = StatusOk;
  return true;
}

bool BMTreadUSB::Purge() {
  if (DeviceCall(FT_Purge(handle_, kPurgeBoth))) return true;
  LinkStatus = StatusNoLink;
  return false;
}

void BMTreadUSB::PauseBeforeRetry() {
  using namespace std::chrono;
  const auto until = steady_clock::now() + options_.retryPause;
  while (steady_clock::now() < until && !Cancelled() && !Terminated()) {
    std::this_thread::sleep_for(std::min<steady_clock::duration>(milliseconds(5), until - steady_clock::now()));
  }
}

void BMTreadUSB::ShowCrcError() {
  ShowMessageBox(Text(texts::kCrcError), Text(texts::kWarningCaption), kMbStopOk);
}

BMTreadUSB::TransferResult BMTreadUSB::Transfer(Command command, std::uint16_t index,
                                                 std::span<std::uint8_t> payload, Frame* answerOut,
                                                 std::span<const std::uint8_t> sendAfter) {
  enum class Outcome { Answered, DeviceFailed, NoAnswer } outcome = Outcome::NoAnswer;
  for (int attempt = 1; attempt <= kAttemptsPerTransfer; ++attempt) {
    const Frame frame = BuildCommandFrame(command, index);
    DWORD count = 0;
    if (!DeviceCall(FT_Write(handle_, frame.data(), kFrameSize, &count)) ||
        (!sendAfter.empty() &&
         !DeviceCall(FT_Write(handle_, sendAfter.data(), static_cast<DWORD>(sendAfter.size()), &count)))) {
      outcome = Outcome::DeviceFailed;
      break;
    }
    // A gauge that does not answer within the time-out leaves zeros: no valid header.
    Frame answer{};
    if (!DeviceCall(FT_Read(handle_, answer.data(), kFrameSize, &count))) {
      outcome = Outcome::DeviceFailed;
      break;
    }
    if (count == kFrameSize && CheckAnswerHeader(answer)) {
      if (!sendAfter.empty()) {
        // A write answered for another record means the gauge lost track: give up.
        if (AnswerIndex(answer) != index) {
          outcome = Outcome::DeviceFailed;
          break;
        }
        if (answerOut != nullptr) *answerOut = answer;
        outcome = Outcome::Answered;
        break;
      }
      if (!DeviceCall(FT_Read(handle_, payload.data(), static_cast<DWORD>(payload.size()), &count))) {
        outcome = Outcome::DeviceFailed;
        break;
      }
      // A payload cut short by the time-out is a failed attempt, not data.
      if (count == payload.size()) {
        if (answerOut != nullptr) *answerOut = answer;
        outcome = Outcome::Answered;
        break;
      }
    }
    if (Cancelled()) break;
  }
  if (Cancelled()) return TransferResult::Cancelled;
  if (outcome == Outcome::Answered) return TransferResult::Ok;
  LinkStatus = StatusNoLink;
  return TransferResult::Failed;
}

}  // namespace rz47
