// BMTreadUSB: the device worker. One worker runs one session: it finds and opens
// the gauge, runs the steps of the job that LinkJob names (device/link_state.h),
// then purges and closes the device, delivers the result and ends.
//
// Threads. Execute and the steps run on the worker's own thread and call the link
// API (platform/link/ft_api.h) directly. Everything that touches a target (gauge,
// window title, label, grid, image buffer) runs on the UI thread through
// Synchronize (a hand-over), and the worker waits for it: at the head of every pass
// of its loop, at every progress point and for each delivery. The only value the UI
// thread writes meanwhile is LinkCancel.
//
// Lifetime. Create it, SetTargets, then start it through StartSession
// (device/session_registry.h), which keeps one session at a time. Its targets must
// outlive it; the registry joins every worker before the program's windows die.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "device/archive_decode.h"
#include "device/session_targets.h"
#include "device/wire_format.h"
#include "platform/link/ft_api.h"
#include "platform/worker_thread.h"

namespace rz47 {

class GridData;

// Attempts per transfer before the step reports "no link".
constexpr int kAttemptsPerTransfer = 20;
// Close gives up after this many failed purge/close passes (an unplugged gauge fails
// them for ever); the handle is then released and the session ends.
constexpr int kCloseAttempts = 3;
// Link settings: divisor 3 = 1,000,000 baud on the 3 MHz reference; 8N1; 3 s.
constexpr std::uint16_t kBaudDivisor = 3;
constexpr std::uint8_t kWordLength8 = 8;
constexpr std::uint8_t kStopBits1 = 0;
constexpr std::uint8_t kParityNone = 0;
constexpr DWORD kLinkTimeoutMs = 3000;
constexpr DWORD kPurgeBoth = FT_PURGE_RX | FT_PURGE_TX;

struct SessionOptions {
  // A pass that failed (no gauge, no driver, no link, old firmware) waits this long
  // before its step runs again, so a search or a dead link does not keep the worker
  // and the UI thread (one hand-over per pass) busy.
  std::chrono::milliseconds retryPause{50};
  // How the UI thread pauses while it shows "no data" (a seam for tests).
  std::function<void(std::chrono::milliseconds)> pauseUi;
};

constexpr std::chrono::milliseconds kNoDataPause{300};

class BMTreadUSB : public WorkerThread {
 public:
  // Workers are always created suspended: nothing runs before Start.
  explicit BMTreadUSB(SessionOptions options = {});
  ~BMTreadUSB() override;

  void SetTargets(ProgressGaugeTarget* gauge, CaptionFormTarget* captionForm,
                  StatusLabelTarget* statusLabel, GridData* targetGrid, std::uint8_t* imageBuffer);

  // The hand-over update; runs on the UI thread (through Synchronize).
  void SyncProgress();

  // Read after the worker has finished: the job ran to its end and delivered (not
  // cancelled, no write cut short).
  bool JobCompleted() const { return jobCompleted_; }

  std::int32_t ProgressValue = 0;
  ProgressGaugeTarget* Gauge = nullptr;
  CaptionFormTarget* CaptionForm = nullptr;
  StatusLabelTarget* StatusLabel = nullptr;
  GridData* TargetGrid = nullptr;
  std::uint8_t* ImageBuffer = nullptr;

 protected:
  void Execute() override;

 private:
  enum class TransferResult { Ok, Failed, Cancelled };

  // Steps (session_steps_link.cpp, _archive.cpp, _materials.cpp, _screen.cpp).
  void RunStep();
  void Connect();
  void ReadVersion();
  void ReadParams();
  void ReadArchive();
  void ReadMaterials();
  void WriteMaterials();
  void ReadScreen();
  void CloseLink();
  void Deliver();
  void DeliverMaterials();

  // Helpers (bmtread_usb.cpp).
  void HandOver();
  void Report(int progress);
  bool Cancelled() const;
  bool DeviceCall(FT_STATUS status);
  bool Purge();
  void CloseFailedConfiguration();
  void PauseBeforeRetry();
  void ShowCrcError();
  // One transaction: up to kAttemptsPerTransfer attempts of frame, answer header and
  // payload (or, with `sendAfter`, the record sent after the frame and the index echo).
  TransferResult Transfer(Command command, std::uint16_t index, std::span<std::uint8_t> payload,
                          Frame* answer = nullptr, std::span<const std::uint8_t> sendAfter = {});

  SessionOptions options_;
  FT_HANDLE handle_ = nullptr;
  std::vector<FT_DEVICE_LIST_INFO_NODE> nodes_;
  std::uint32_t recordCount_ = 0;
  std::vector<ArchiveRecordBytes> archiveRecords_;
  int closeFailures_ = 0;
  bool jobCompleted_ = false;
};

}  // namespace rz47
