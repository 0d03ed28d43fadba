// Runs one device session against a FakeGauge the way a program does: the test's
// thread plays the UI thread (a HandoverLoop), the targets record what the hand-overs
// did to them, and message boxes are recorded and answered OK.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/bmtread_usb.h"
#include "device/handover_loop.h"
#include "device/link_state.h"
#include "device/materials.h"
#include "device/session_targets.h"
#include "fake_gauge.h"
#include "gauge_bytes.h"
#include "platform/message_box.h"
#include "platform/text_pair.h"
#include "table/grid_data.h"

namespace rz47::test {

// Every target call, in order, as text: "progress 21", "visible 0", "title Connection",
// "label Check Connection", "close". Texts are converted to UTF-8.
struct TargetLog : ProgressGaugeTarget, CaptionFormTarget, StatusLabelTarget {
  void SetProgress(int percent) override;
  void SetGaugeVisible(bool visible) override;
  void SetCaption(const std::string& caption) override;
  void CloseForm() override;
  void SetStatusText(const std::string& text) override;

  std::vector<std::string> events;
  std::vector<int> progress;
  std::string label;  // current label text (UTF-8)
  std::string title;
  bool gaugeVisible = true;
  int closes = 0;
  bool Saw(const std::string& event) const;
};

struct BoxRecord {
  std::string text;  // UTF-8
  std::string caption;
  std::uint32_t flags = 0;
};

struct SessionRun {
  std::shared_ptr<FakeGauge> gauge = std::make_shared<FakeGauge>();
  TargetLog log;
  GridData grid{8, 9};
  std::vector<BoxRecord> boxes;
  std::vector<long> uiPauses;  // milliseconds asked of the UI thread
  std::array<std::uint8_t, 1024> image{};
  bool withCaption = true;
  bool withGrid = true;
  bool withImage = false;
  std::shared_ptr<BMTreadUSB> worker;

  SessionRun();
  ~SessionRun();

  // Starts a session of `job` (NeedMaterials as given) and carries out its
  // hand-overs until it ends. A session still running after `maxCalls` link calls is
  // cancelled (a guard against a test that would otherwise poll for ever).
  void Run(LinkJobCode job, bool needMaterials = false, int maxCalls = 20000);
  // Same, but the session is started and the caller runs the loop.
  void Start(LinkJobCode job, bool needMaterials = false);
  void RunUntilEnd(int maxCalls = 20000);

  HandoverLoop loop;

 private:
  std::shared_ptr<LinkBackend> previousBackend_;
  MessageBoxHandler previousBoxes_;
};

}  // namespace rz47::test
