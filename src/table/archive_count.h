// The archive record count: how many measurement records the loaded archive holds.
// Set by the archive read from the gauge and by opening an archive file; 0 means no
// archive has been loaded, and the copy commands refuse to run then. Program-wide,
// written and read on the UI thread (the device worker sets it inside a hand-over).
#pragma once

#include <cstdint>

namespace rz47 {

extern std::uint32_t ArchiveCount;

}  // namespace rz47
