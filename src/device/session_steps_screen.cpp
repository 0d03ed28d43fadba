// The screen job's step: the 1,024-byte display image, unchecked.
#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "device/progress.h"

namespace rz47 {

void BMTreadUSB::ReadScreen() {
  if (!Purge()) return;
  Report(kProgressScreenStart);
  // The image goes straight into the target buffer; 100 % tells its reader that it
  // is complete, so nothing reads it while a retry overwrites it.
  std::array<std::uint8_t, kScreenImageSize> scratch{};
  std::span<std::uint8_t> image = ImageBuffer != nullptr ? std::span(ImageBuffer, kScreenImageSize)
                                                         : std::span<std::uint8_t>(scratch);
  switch (Transfer(Command::Screen, 0, image)) {
    case TransferResult::Cancelled: LinkStep = StepClose; return;
    case TransferResult::Failed: return;
    case TransferResult::Ok: break;
  }
  Report(kProgressComplete);
  jobCompleted_ = true;
  LinkStep = StepClose;
}

}  // namespace rz47
