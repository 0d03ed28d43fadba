// One device session at a time: the launchers start workers through StartSession,
// which refuses while another worker still runs; at program exit every worker is
// cancelled and joined before the windows it drives go away.
//
// UI thread only (the launchers, window closing, shutdown).
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace rz47 {

class BMTreadUSB;

// Starts `worker` (created suspended, targets set) unless a session still runs;
// returns false, leaving the worker unstarted, when one does. A cancel request left
// over from the previous session is dropped first, so it cannot end this one.
bool StartSession(std::shared_ptr<BMTreadUSB> worker);
bool SessionRunning();
// The newest worker started, running or ended (or none).
std::shared_ptr<BMTreadUSB> CurrentSession();

// Asks the running session, if any, to close the device and end (LinkCancel).
void CancelSession();
// Cancels the running session and waits until it has ended. `whileWaiting` runs
// every few milliseconds meanwhile (the GUI passes a call that processes its events,
// so hand-overs the worker posted before can still run).
void CancelAndJoinSessions(const std::function<void()>& whileWaiting = {});

}  // namespace rz47
