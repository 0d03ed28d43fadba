// The Qt implementation of Synchronize: a worker's hand-over runs on the GUI thread as
// a blocking queued call; a call made on the GUI thread itself runs directly.
// After BeginSynchronizerShutdown a hand-over returns without running, so a worker
// that is being joined while the event loop no longer runs cannot hang.
#pragma once

namespace rz47 {

void InstallQtSynchronizer();
void BeginSynchronizerShutdown();
bool SynchronizerShuttingDown();

}  // namespace rz47
