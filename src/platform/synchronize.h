// Synchronize: run a function on the UI thread and wait until it has run.
//
// The device worker never touches a window or a grid itself; every hand-over goes
// through this call. The program installs the mechanism (rz47: a blocking queued call
// into the Qt event loop; rz47cli and tests: their own main loop or a direct call).
// Without an installed synchroniser the function runs on the calling thread.
#pragma once

#include <functional>

namespace rz47 {

using SynchronizeFn = std::function<void(const std::function<void()>&)>;

void Synchronize(const std::function<void()>& fn);

// Installs the mechanism and returns the previous one. Install before workers start.
SynchronizeFn InstallSynchronizer(SynchronizeFn synchronizer);

}  // namespace rz47
