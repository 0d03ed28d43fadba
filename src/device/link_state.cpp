#include "device/link_state.h"

namespace rz47 {

std::uint8_t LinkJob = JobReadArchive;
std::uint8_t LinkStep = StepConnect;
std::uint8_t LinkStatus = StatusOk;
std::atomic<std::uint8_t> LinkCancel{0};
// The first archive read of a run takes the material names from the gauge.
std::atomic<std::uint8_t> NeedMaterials{1};

}  // namespace rz47
