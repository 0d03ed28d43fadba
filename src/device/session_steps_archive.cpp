// The archive job's own steps: Params (how many records) and Archive (the records).
#include <new>

#include "device/allocation_failure.h"
#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "device/progress.h"
#include "platform/synchronize.h"
#include "table/archive_count.h"

namespace rz47 {

void BMTreadUSB::ReadParams() {
  if (!Purge()) return;
  std::array<std::uint8_t, kParamsSize> block{};
  switch (Transfer(Command::Params, 0, block)) {
    case TransferResult::Cancelled: LinkStep = StepClose; return;
    case TransferResult::Failed: return;
    case TransferResult::Ok: break;
  }
  // A damaged block is asked for again; the label shows no error meanwhile.
  if (!CheckBlock(block)) {
    ShowCrcError();
    return;
  }
  recordCount_ = CountArchiveRecords(block);
  // The count belongs to the UI thread (the copy commands read it there).
  Synchronize([count = recordCount_] { ArchiveCount = count; });
  if (recordCount_ == 0) {
    LinkStatus = StatusNoData;
    LinkStep = StepClose;
    return;
  }
  ProgressValue = kProgressParamsDone;
  LinkStep = StepArchive;
  HandOver();
}

void BMTreadUSB::ReadArchive() {
  if (!Purge()) return;
  const std::uint32_t count = recordCount_;
  try {
    archiveRecords_.assign(count, ArchiveRecordBytes{});
  } catch (const std::bad_alloc&) {
    ReportAllocationFailure(AllocationFailure::RecordStore);
    LinkStatus = StatusNoLink;
    return;
  }
  for (std::uint32_t j = 0; j < count; ++j) {
    ArchiveRecordBytes record{};
    Frame answer{};
    switch (Transfer(Command::ArchiveRecord, static_cast<std::uint16_t>(j), record, &answer)) {
      case TransferResult::Cancelled: LinkStep = StepClose; return;
      case TransferResult::Failed: return;  // the step runs again from record 0
      case TransferResult::Ok: break;
    }
    if (!CheckBlock(record) || AnswerIndex(answer) != j) {
      ShowCrcError();
      LinkStatus = StatusBadData;
      return;
    }
    archiveRecords_[j] = record;
    Report(ArchiveProgress(j, count));
    if (Cancelled()) {
      LinkStep = StepClose;
      return;
    }
  }
  LinkStep = StepClose;
}

}  // namespace rz47
