// Running one device job in rz47cli: the main thread plays the UI thread (it carries
// out the worker's hand-overs), shows progress on standard error, cancels the job
// after the --timeout or on Ctrl+C, and reports how the job ended.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_context.h"
#include "device/link_state.h"

namespace rz47 {
class GridData;
}

namespace rz47::cli {

struct JobOutcome {
  bool completed = false;    // the job ran to its end and delivered
  bool timedOut = false;     // cancelled by --timeout
  bool interrupted = false;  // cancelled by SIGINT or SIGTERM
  std::string lastStatus;    // Windows-1251: the last failure text the job showed
};

// Runs `job` to its end with `grid` (archive table or materials grid) and `image`
// (the screen buffer) as targets. NeedMaterials is left as the caller set it.
JobOutcome RunDeviceJob(const CliContext& ctx, LinkJobCode job, GridData* grid, std::uint8_t* image);

// The exit code for a job that did not complete, after writing what went wrong to
// standard error.
int ReportFailedJob(const CliContext& ctx, const JobOutcome& outcome);

}  // namespace rz47::cli
