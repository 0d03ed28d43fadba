#include "cli/device_job.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>

#include "device/bmtread_usb.h"
#include "device/handover_loop.h"
#include "device/session_registry.h"
#include "device/session_targets.h"
#include "platform/cp1251.h"

namespace rz47::cli {
namespace {

volatile std::sig_atomic_t interruptRequested = 0;

void OnInterrupt(int) { interruptRequested = 1; }

// Ctrl+C (and SIGTERM) cancel the job instead of killing the program, so the device
// is closed properly; the previous handlers come back afterwards.
class InterruptGuard {
 public:
  InterruptGuard() {
    interruptRequested = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
  }
  ~InterruptGuard() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

// The worker's gauge and label on standard error: a bar redrawn in place on a
// terminal, a line per tenth otherwise, nothing with --quiet. It also keeps the last
// failure text, which is what the user is told when the job does not complete.
class ConsoleTargets : public ProgressGaugeTarget, public StatusLabelTarget {
 public:
  explicit ConsoleTargets(bool quiet) : quiet_(quiet), terminal_(isatty(STDERR_FILENO) == 1) {}
  ~ConsoleTargets() override {
    if (drawn_) std::fputc('\n', stderr);
  }
  ConsoleTargets(const ConsoleTargets&) = delete;
  ConsoleTargets& operator=(const ConsoleTargets&) = delete;

  void SetProgress(int percent) override {
    if (percent == percent_) return;
    const int previousTenth = percent_ / 10;
    percent_ = percent;
    if (quiet_) return;
    if (terminal_) Draw();
    else if (percent_ / 10 != previousTenth) std::fprintf(stderr, "%d%%\n", percent_);
  }

  void SetGaugeVisible(bool) override {}

  void SetStatusText(const std::string& text) override {
    // Called inside a hand-over, while the worker waits: its status is stable.
    if (LinkStatus != StatusOk && !text.empty()) lastStatus_ = text;
    label_ = Cp1251ToUtf8(text);
    if (!quiet_ && terminal_) Draw();
  }

  const std::string& LastStatus() const { return lastStatus_; }

 private:
  void Draw() {
    constexpr int kWidth = 30;
    const int filled = percent_ * kWidth / 100;
    std::string line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] ";
    line += std::to_string(percent_) + "% " + label_;
    // Pads over the rest of a longer line drawn before.
    const std::size_t length = line.size();
    if (length < drawnLength_) line.append(drawnLength_ - length, ' ');
    drawnLength_ = length;
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
  }

  const bool quiet_;
  const bool terminal_;
  int percent_ = -1;
  std::string label_;
  std::string lastStatus_;
  std::size_t drawnLength_ = 0;
  bool drawn_ = false;
};

}  // namespace

JobOutcome RunDeviceJob(const CliContext& ctx, LinkJobCode job, GridData* grid, std::uint8_t* image) {
  HandoverLoop loop;
  InterruptGuard interrupts;
  JobOutcome outcome;
  auto worker = std::make_shared<BMTreadUSB>();
  {
    ConsoleTargets console(ctx.quiet);
    worker->SetTargets(&console, nullptr, &console, grid, image);
    LinkStep = StepConnect;
    LinkJob = job;
    StartSession(worker);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(ctx.timeoutSeconds);
    bool cancelled = false;
    loop.RunUntil([&] {
      if (!cancelled && interruptRequested != 0) {
        outcome.interrupted = cancelled = true;
        CancelSession();
      } else if (!cancelled && std::chrono::steady_clock::now() >= deadline) {
        outcome.timedOut = cancelled = true;
        CancelSession();
      }
      return worker->Finished();
    });
    worker->WaitFor();
    outcome.lastStatus = console.LastStatus();
  }
  outcome.completed = worker->JobCompleted() && !outcome.timedOut && !outcome.interrupted;
  return outcome;
}

int ReportFailedJob(const CliContext& ctx, const JobOutcome& outcome) {
  if (!outcome.lastStatus.empty()) PrintError(outcome.lastStatus);
  if (outcome.interrupted) return kExitInterrupted;
  if (outcome.timedOut && outcome.lastStatus.empty()) {
    std::fprintf(stderr, "rz47cli: the device job did not end within %d s\n", ctx.timeoutSeconds);
  }
  return kExitDevice;
}

}  // namespace rz47::cli
