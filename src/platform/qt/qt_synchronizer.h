// The Qt implementation of Synchronize: a worker's hand-over is queued to the GUI
// thread's event loop and the worker waits until it has run; a call made on the GUI
// thread itself runs directly.
//
// After BeginSynchronizerShutdown a hand-over returns without running, and one that
// was queued but has not started yet is withdrawn: the waiting worker re-checks the
// flag every few milliseconds. So a worker that is joined after the event loop has
// stopped can always finish. A hand-over that has started runs to its end.
#pragma once

namespace rz47 {

void InstallQtSynchronizer();
void BeginSynchronizerShutdown();
bool SynchronizerShuttingDown();

}  // namespace rz47
