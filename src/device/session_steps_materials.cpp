// The material table's steps: MaterialsRead (13 records, names taken over) and
// MaterialsWrite (13 records rebuilt from the materials grid and sent).
#include <string>

#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "device/materials.h"
#include "device/progress.h"
#include "device/session_texts.h"
#include "platform/message_box.h"
#include "platform/synchronize.h"
#include "platform/text_pair.h"
#include "table/grid_data.h"

namespace rz47 {

void BMTreadUSB::ReadMaterials() {
  if (!Purge()) return;
  const bool archiveJob = LinkJob == JobReadArchive;
  for (int j = 0; j < kGaugeMaterialCount; ++j) {
    MaterialRecord record{};
    Frame answer{};
    switch (Transfer(Command::MaterialRead, static_cast<std::uint16_t>(j), record, &answer)) {
      case TransferResult::Cancelled: LinkStep = StepClose; return;
      case TransferResult::Failed: return;  // the step runs again from material 0
      case TransferResult::Ok: break;
    }
    if (!CheckBlock(record) || AnswerIndex(answer) != j) {
      ShowCrcError();
      LinkStatus = StatusBadData;
      return;
    }
    MaterialRecords[j] = record;
    Report(MaterialReadProgress(archiveJob, j));
  }
  for (int j = 0; j < kGaugeMaterialCount; ++j) {
    std::span<const std::uint8_t, kMaterialRecordSize> bytes(MaterialRecords[j]);
    MaterialNames[j][0] = ReadNameField(bytes.subspan<kRussianNameOffset, kNameFieldSize>());
    MaterialNames[j][1] = ReadNameField(bytes.subspan<kEnglishNameOffset, kNameFieldSize>());
  }
  Report(archiveJob ? kProgressMaterialsReadDoneInArchiveJob : kProgressComplete);
  LinkStep = archiveJob ? StepVersion : StepClose;
}

void BMTreadUSB::WriteMaterials() {
  if (!Purge()) return;
  // Built on a copy: a write stopped by a bad cell leaves the kept records as received.
  auto records = MaterialRecords;
  for (int j = 0; j < kGaugeMaterialCount; ++j) {
    std::string name;
    std::string speedText;
    int lang = 0;
    Synchronize([&] {
      lang = LangIndex;
      if (TargetGrid != nullptr) {
        name = TargetGrid->CellString(1, j + 1);
        speedText = TargetGrid->CellString(2, j + 1);
      }
      SyncProgress();
    });
    const auto speed = ParseMaterialSpeed(speedText);
    if (!speed) {
      // The gauge keeps 16 bits: a speed it cannot hold is refused before anything is sent.
      ShowMessageBox(Text(texts::kBadSpeedRow) + std::to_string(j + 1) + Text(texts::kBadSpeedRest),
                     Text(texts::kWarningCaption), kMbStopOk);
      LinkStep = StepClose;
      return;
    }
    const std::string& russian = lang == 0 ? name : MaterialNames[j][0];
    const std::string& english = lang != 0 ? name : MaterialNames[j][1];
    RebuildMaterialRecord(records[j], russian, english, *speed);
    Report(MaterialBuildProgress(j));
  }
  MaterialRecords = records;
  for (int j = 0; j < kGaugeMaterialCount; ++j) {
    // Any failure ends the write: the gauge keeps the materials sent so far.
    if (Transfer(Command::MaterialWrite, static_cast<std::uint16_t>(j), {}, nullptr, MaterialRecords[j]) !=
        TransferResult::Ok) {
      LinkStep = StepClose;
      return;
    }
    Report(MaterialWriteProgress(j));
  }
  jobCompleted_ = true;
  LinkStep = StepClose;
}

}  // namespace rz47
