// The program-wide state of the device session: job, step, status, cancel flag and
// the "read the material names first" flag.
//
// One session runs at a time (device/session_registry.h enforces it). The launcher
// writes LinkJob and LinkStep on the UI thread before the worker starts; the worker
// writes LinkStep and LinkStatus, which the UI thread reads only inside a hand-over
// (the worker waits meanwhile) or after the worker has ended. LinkCancel is the one
// value the UI thread writes while a worker runs, hence atomic. NeedMaterials is set
// at program start and changed only by launchers and by the worker's Close step.
#pragma once

#include <atomic>
#include <cstdint>

namespace rz47 {

enum LinkJobCode : std::uint8_t {
  JobReadArchive = 0,
  JobReadMaterials = 1,
  JobWriteMaterials = 2,
  JobReadScreen = 3,
};

enum LinkStepCode : std::uint8_t {
  StepConnect = 0,
  StepVersion = 1,
  StepParams = 2,
  StepArchive = 3,
  StepMaterialsRead = 4,
  StepMaterialsWrite = 5,
  StepScreen = 6,
  StepClose = 7,
};
constexpr int kStepCount = 8;

enum LinkStatusCode : std::uint8_t {
  StatusOk = 0,
  StatusNoDriver = 1,
  StatusOldFirmware = 2,
  StatusNoLink = 3,
  StatusBadData = 4,
  StatusNoData = 5,
};
constexpr int kStatusCount = 6;

extern std::uint8_t LinkJob;
extern std::uint8_t LinkStep;
extern std::uint8_t LinkStatus;
extern std::atomic<std::uint8_t> LinkCancel;
extern std::atomic<std::uint8_t> NeedMaterials;

}  // namespace rz47
