// Chooses the link backend once at program start, from the environment:
//   RZ47_DEVICE=sim      the simulated gauge in process (the demo content; a fixture
//                        file named by RZ47_SIM_FIXTURE replaces it; RZ47_SIM_FAULTS
//                        holds fault options as the simulator's command line takes
//                        them, e.g. "--bad-archive-crc 5 --old-firmware")
//   otherwise            the serial backend: the USB serial ports found, plus the
//                        ports of RZ47_PORT (colon-separated paths) and `extraPorts`
//                        (the CLI's --port), each listed as a gauge.
// Call from the main thread before any device session starts.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/link/ft_api.h"

namespace rz47 {

// Installs the chosen backend. A broken simulator setting (unreadable fixture, bad
// fault option) is reported on standard error and left out (demo content, no
// faults), so the program still starts.
void InstallLinkBackend(const std::vector<std::string>& extraPorts);

// The backend InstallLinkBackend would choose for the given settings (null or empty
// values as if unset); `problem` receives a message when a simulator setting was
// rejected.
std::shared_ptr<LinkBackend> ChooseLinkBackend(const char* device, const char* fixture, const char* faults,
                                               const char* ports, const std::vector<std::string>& extraPorts,
                                               std::string* problem);

// "a:b::c" -> {"a", "b", "c"}.
std::vector<std::string> SplitPortList(std::string_view list);

}  // namespace rz47
