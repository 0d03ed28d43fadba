#include "device/allocation_failure.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "device/session_texts.h"
#include "platform/message_box.h"

namespace rz47 {
namespace {

AllocationFailureHandler& Handler() {
  static AllocationFailureHandler handler;
  return handler;
}

}  // namespace

void ReportAllocationFailure(AllocationFailure what) {
  if (const AllocationFailureHandler& handler = Handler()) {
    handler(what);
    return;
  }
  // The node-list box is the plain system one: Russian whatever the language.
  const int lang = what == AllocationFailure::NodeList ? 0 : LangIndex;
  ShowMessageBox(Text(texts::kMemoryError, lang), Text(texts::kWarningCaption, lang), kMbStopOk);
  std::fflush(nullptr);
  // Other threads still run: end at once, without running static destructors.
  std::_Exit(1);
}

AllocationFailureHandler InstallAllocationFailureHandler(AllocationFailureHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace rz47
