// The steps that open and close the link: Connect, Version, Close and its delivery.
#include <algorithm>
#include <new>
#include <stdexcept>

#include "device/allocation_failure.h"
#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "device/materials.h"
#include "platform/format_settings.h"
#include "platform/synchronize.h"
#include "platform/text_pair.h"
#include "table/grid_data.h"

namespace rz47 {

void BMTreadUSB::Connect() {
  // Searching for the gauge may take long; it must not take time from the machine.
  SetPriority(ThreadPriority::Idle);
  if (Cancelled()) {
    LinkStep = StepClose;
    return;
  }
  DWORD count = 0;
  if (!DeviceCall(FT_CreateDeviceInfoList(&count))) {
    LinkStatus = StatusNoDriver;
    return;
  }
  if (count == 0) {
    LinkStatus = StatusNoLink;
    return;
  }
  try {
    nodes_.assign(count, FT_DEVICE_LIST_INFO_NODE{});
  } catch (const std::bad_alloc&) {
    ReportAllocationFailure(AllocationFailure::NodeList);
    LinkStatus = StatusNoLink;
    return;
  } catch (const std::length_error&) {
    ReportAllocationFailure(AllocationFailure::NodeList);
    LinkStatus = StatusNoLink;
    return;
  }
  DWORD listed = count;
  if (!DeviceCall(FT_GetDeviceInfoList(nodes_.data(), &listed))) {
    LinkStatus = StatusNoLink;
    return;
  }
  // Devices unplugged between the two calls shorten the list.
  const std::size_t valid = std::min<std::size_t>(listed, nodes_.size());
  const int index = ChooseGaugeNode(std::span(nodes_.data(), valid));
  if (index < 0) {
    LinkStatus = StatusNoLink;
    return;
  }
  FT_HANDLE handle = nullptr;
  if (!DeviceCall(FT_Open(index, &handle))) {
    LinkStatus = StatusNoLink;
    return;
  }
  handle_ = handle;
  if (!DeviceCall(FT_SetDivisor(handle_, kBaudDivisor)) ||
      !DeviceCall(FT_SetDataCharacteristics(handle_, kWordLength8, kStopBits1, kParityNone)) ||
      !DeviceCall(FT_SetTimeouts(handle_, kLinkTimeoutMs, kLinkTimeoutMs))) {
    // Left open, the device would refuse every later open.
    CloseFailedConfiguration();
    LinkStatus = StatusNoLink;
    return;
  }
  LinkStatus = StatusOk;
  switch (LinkJob) {
    case JobReadArchive: LinkStep = NeedMaterials ? StepMaterialsRead : StepVersion; break;
    case JobReadMaterials: LinkStep = StepMaterialsRead; break;
    case JobWriteMaterials: LinkStep = StepMaterialsWrite; break;
    default: LinkStep = StepScreen; break;
  }
}

void BMTreadUSB::CloseFailedConfiguration() {
  FT_Close(handle_);
  handle_ = nullptr;
}

void BMTreadUSB::ReadVersion() {
  SetPriority(ThreadPriority::Normal);
  if (!Purge()) return;
  std::array<std::uint8_t, kVersionSize> payload{};
  switch (Transfer(Command::Version, 0, payload)) {
    case TransferResult::Cancelled: LinkStep = StepClose; return;
    case TransferResult::Failed: return;
    case TransferResult::Ok: break;
  }
  // An outdated gauge is asked again and again; the message stays until cancelled.
  if (!FirmwareIsCurrent(FirmwareDateText(payload))) {
    LinkStatus = StatusOldFirmware;
    return;
  }
  LinkStatus = StatusOk;
  ProgressValue = 10;
  LinkStep = StepParams;
  HandOver();
}

void BMTreadUSB::CloseLink() {
  if (handle_ != nullptr) {
    const bool purged = DeviceCall(FT_Purge(handle_, kPurgeBoth));
    if (!purged || !DeviceCall(FT_Close(handle_))) {
      LinkStatus = StatusNoLink;
      if (++closeFailures_ < kCloseAttempts) return;
      // Giving up: still let the backend free what it holds for this handle.
      if (!purged) FT_Close(handle_);
    }
    handle_ = nullptr;
  }
  nodes_.clear();
  nodes_.shrink_to_fit();
  const bool gaveUp = closeFailures_ >= kCloseAttempts;
  // The next session's first hand-over must not show this one's last failure (a
  // cancel while searching makes no device call that would clear it).
  if (!gaveUp) LinkStatus = StatusOk;
  if (LinkCancel.exchange(0) != 0) {
    archiveRecords_.clear();
    Synchronize([this] {
      if (CaptionForm != nullptr) CaptionForm->CloseForm();
    });
  } else {
    Deliver();
  }
  if (gaveUp) {
    LinkStatus = StatusNoLink;
    HandOver();
  }
  SetPriority(ThreadPriority::Idle);
  Terminate();
}

void BMTreadUSB::Deliver() {
  switch (LinkJob) {
    case JobReadArchive:
      NeedMaterials = 0;
      Synchronize([this] {
        if (TargetGrid != nullptr) DecodeArchiveIntoGrid(*TargetGrid, archiveRecords_, LangIndex);
        if (CaptionForm != nullptr) CaptionForm->CloseForm();
      });
      archiveRecords_.clear();
      archiveRecords_.shrink_to_fit();
      jobCompleted_ = true;
      return;
    case JobReadMaterials:
      DeliverMaterials();
      jobCompleted_ = true;
      return;
    default:
      return;
  }
}

void BMTreadUSB::DeliverMaterials() {
  Synchronize([this] {
    if (TargetGrid == nullptr) return;
    for (int j = 0; j < kGaugeMaterialCount; ++j) {
      const MaterialRecord& record = MaterialRecords[j];
      TargetGrid->SetCell(0, j + 1, std::to_string(MaterialNumber(record)));
      TargetGrid->SetCell(1, j + 1, *MaterialName(j, LangIndex));
      TargetGrid->SetCell(2, j + 1, std::to_string(MaterialSpeed(record)));
    }
  });
}

}  // namespace rz47
