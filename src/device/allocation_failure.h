// What the worker does when it cannot allocate the device list or the record store:
// a box, and once it is dismissed the program ends with exit code 1. Behind an
// installable handler so tests can observe it without ending the test program.
// Called on the worker thread.
#pragma once

#include <functional>

namespace rz47 {

enum class AllocationFailure {
  NodeList,     // the device node list of Connect (a plain box, Russian texts)
  RecordStore,  // the archive record store (ShowMessageBox, current language)
};

using AllocationFailureHandler = std::function<void(AllocationFailure)>;

// Shows the box and ends the program (exit code 1) unless a handler is installed;
// an installed handler may return, and the session then treats the pass as failed.
void ReportAllocationFailure(AllocationFailure what);
AllocationFailureHandler InstallAllocationFailureHandler(AllocationFailureHandler handler);

}  // namespace rz47
