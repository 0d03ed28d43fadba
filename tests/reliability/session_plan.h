// One session of the fault campaign, drawn from a seed: the job, the gauge's
// content, the faults the simulated gauge shows, the faults of the link between
// them, and when the user presses Cancel. The same seed always gives the same plan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/link_state.h"
#include "faulty_link.h"
#include "sim/gauge_faults.h"

namespace rz47::test {

struct MaterialCells {
  std::string name;   // Windows-1251
  std::string speed;  // as typed in the materials grid
};

struct SessionPlan {
  std::uint32_t seed = 0;
  LinkJobCode job = JobReadArchive;
  bool needMaterials = false;
  int lang = 0;
  std::size_t archiveSize = 0;  // the gauge's records: the first ones of the demo
  std::size_t mergedRows = 0;   // archive job: the table already holds this many of them
  std::vector<MaterialCells> written;  // write job: the grid's 13 rows
  sim::GaugeFaults gaugeFaults;
  LinkFaultRates linkFaults;
  std::optional<int> cancelAtHandOver;  // the user cancels during this hand-over

  // One line that says everything above, for a failure message.
  std::string Describe() const;
};

SessionPlan MakeSessionPlan(std::uint32_t seed, std::size_t demoArchiveSize);

}  // namespace rz47::test
