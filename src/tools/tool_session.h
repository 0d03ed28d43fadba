// Starting and ending the device jobs of the tool windows. One session runs at a
// time (device/session_registry.h); these helpers decide what a tool window does when
// the device is still busy and when its window closes. GUI thread only.
#pragma once

#include <cstdint>
#include <memory>

#include "device/session_targets.h"

namespace rz47 {

class BMTreadUSB;
class GridData;

// True when no session runs. A session whose cancel was already requested (its
// window was closed) is only closing the device: it is waited for, with the GUI's
// events processed meanwhile. A session that still runs on its own is left alone:
// the user is told the device is busy and false is returned.
bool ClaimDevice();

// Sets the job and the Connect step, creates a worker with these targets and starts
// it. Null when the device is busy (after telling the user).
struct JobTargets {
  ProgressGaugeTarget* gauge = nullptr;
  StatusLabelTarget* statusLabel = nullptr;
  GridData* grid = nullptr;
  std::uint8_t* imageBuffer = nullptr;
};
std::shared_ptr<BMTreadUSB> StartToolJob(std::uint8_t job, const JobTargets& targets);

// Asks `worker` to end if it is the session that runs now.
void CancelToolJob(const std::shared_ptr<BMTreadUSB>& worker);
// Cancels `worker` if it still runs and waits until it has ended, processing the
// GUI's events meanwhile so its pending hand-overs can finish.
void CancelAndWaitForToolJob(const std::shared_ptr<BMTreadUSB>& worker);

bool JobRunning(const std::shared_ptr<BMTreadUSB>& worker);

}  // namespace rz47
