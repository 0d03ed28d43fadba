// Fuzz target: whatever the gauge answers. A fuzzed gauge sits behind the link API:
// every read returns the next bytes of the input, then nothing. A real session
// (BMTreadUSB) runs one job against it to its end; once the input is used up the
// session is cancelled, as a user would cancel a dead link.
//
// First input byte: bits 0-1 the job (0 archive, 1 read materials, 2 write
// materials, 3 screen), bit 2 "read the material names first", bit 3 "the table
// already holds rows" (the merge path), bit 4 the language. The rest are the
// gauge's bytes.
//
// Whatever the bytes: the session ends, the device is closed as often as it was
// opened, rows that were in the table stay as they were, and every row the session
// adds is the decode of an archive record that passed its checks (marker, CRC,
// index echo), checked here with a CRC of our own.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/allocation_failure.h"
#include "device/archive_decode.h"
#include "device/bmtread_usb.h"
#include "device/link_state.h"
#include "device/materials.h"
#include "platform/link/ft_api.h"
#include "platform/message_box.h"
#include "platform/synchronize.h"
#include "platform/text_pair.h"
#include "table/archive_count.h"
#include "table/grid_data.h"

namespace {

using namespace rz47;

FT_HANDLE const kHandle = reinterpret_cast<FT_HANDLE>(std::uintptr_t{0x4A});

// One command frame the session sent and the reads that followed it.
struct Exchange {
  std::array<std::uint8_t, 5> frame{};
  std::vector<std::vector<std::uint8_t>> reads;
};

class FuzzedGauge final : public LinkBackend {
 public:
  FuzzedGauge(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  FT_STATUS CreateDeviceInfoList(DWORD* numDevices) override {
    *numDevices = 1;
    return FT_OK;
  }
  FT_STATUS GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* list, DWORD* numDevices) override {
    std::memset(list, 0, sizeof *list);
    std::strcpy(list->Description, "RZ-4.7 fuzzed");
    *numDevices = 1;
    return FT_OK;
  }
  FT_STATUS Open(int index, FT_HANDLE* handle) override {
    if (index != 0 || open_) return FT_DEVICE_NOT_OPENED;
    open_ = true;
    ++opens_;
    *handle = kHandle;
    return FT_OK;
  }
  FT_STATUS SetDivisor(FT_HANDLE h, std::uint16_t) override { return Check(h); }
  FT_STATUS SetDataCharacteristics(FT_HANDLE h, std::uint8_t, std::uint8_t, std::uint8_t) override {
    return Check(h);
  }
  FT_STATUS SetTimeouts(FT_HANDLE h, DWORD, DWORD) override { return Check(h); }
  FT_STATUS Purge(FT_HANDLE h, DWORD) override { return Check(h); }
  FT_STATUS Write(FT_HANDLE h, const void* buffer, DWORD length, DWORD* written) override {
    if (Check(h) != FT_OK) return FT_INVALID_HANDLE;
    if (length == 5) {
      Exchange exchange;
      std::memcpy(exchange.frame.data(), buffer, 5);
      exchanges_.push_back(std::move(exchange));
    }
    *written = length;
    return FT_OK;
  }
  FT_STATUS Read(FT_HANDLE h, void* buffer, DWORD length, DWORD* read) override {
    if (Check(h) != FT_OK) return FT_INVALID_HANDLE;
    const std::size_t n = std::min<std::size_t>(length, size_ - used_);
    std::memcpy(buffer, data_ + used_, n);
    used_ += n;
    *read = static_cast<DWORD>(n);
    if (!exchanges_.empty()) exchanges_.back().reads.emplace_back(data_ + used_ - n, data_ + used_);
    // The gauge has fallen silent for good: the user gives up.
    if (n < length) LinkCancel = 1;
    return FT_OK;
  }
  FT_STATUS Close(FT_HANDLE h) override {
    if (Check(h) != FT_OK) return FT_INVALID_HANDLE;
    open_ = false;
    ++closes_;
    return FT_OK;
  }

  int opens_ = 0;
  int closes_ = 0;
  bool open_ = false;
  std::vector<Exchange> exchanges_;

 private:
  FT_STATUS Check(FT_HANDLE h) const { return open_ && h == kHandle ? FT_OK : FT_INVALID_HANDLE; }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

// CRC-16 with the reflected polynomial 0xA001, bit by bit: independent of the
// table-driven CRC the session uses.
std::uint16_t Crc16(const std::vector<std::uint8_t>& bytes) {
  std::uint16_t crc = 0;
  for (std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

bool BlockPasses(const std::vector<std::uint8_t>& block) {
  const std::size_t n = block.size();
  return n >= 4 && block[n - 4] == 0xAA && block[n - 3] == 0xAA && Crc16(block) == 0;
}

// The archive records the gauge sent that pass every check: a full answer header for
// the index asked, then a full block whose marker and CRC hold.
std::vector<ArchiveRecordBytes> RecordsThatPassed(const std::vector<Exchange>& exchanges) {
  std::vector<ArchiveRecordBytes> passed;
  for (const Exchange& e : exchanges) {
    if (e.frame[1] != 0x03 || e.reads.size() < 2) continue;
    const std::vector<std::uint8_t>& header = e.reads[0];
    const std::vector<std::uint8_t>& block = e.reads[1];
    if (header.size() != 5 || header[0] != 0xAA || header[2] != static_cast<std::uint8_t>(~header[1])) continue;
    if (header[3] != e.frame[3] || header[4] != e.frame[4]) continue;
    if (block.size() != kArchiveRecordSize || !BlockPasses(block)) continue;
    ArchiveRecordBytes bytes{};
    std::memcpy(bytes.data(), block.data(), bytes.size());
    passed.push_back(bytes);
  }
  return passed;
}

std::vector<std::string> RowTexts(const GridData& grid, int row) {
  std::vector<std::string> texts;
  for (int col = 1; col < grid.ColCount(); ++col) texts.push_back(grid.CellString(col, row));
  return texts;
}

bool RowIsBlank(const GridData& grid, int row) {
  for (int col = 0; col < grid.ColCount(); ++col) {
    if (!grid.Cell(col, row).empty()) return false;
  }
  return true;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void FillMaterialsGrid(GridData& grid) {
  for (int row = 1; row <= kGaugeMaterialCount; ++row) {
    grid.SetCell(0, row, std::to_string(row));
    grid.SetCell(1, row, "Material " + std::to_string(row));
    grid.SetCell(2, row, std::to_string(1000 + row));
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InstallSynchronizer([](const std::function<void()>& fn) { fn(); });
  InstallMessageBoxHandler([](const std::string&, const std::string&, std::uint32_t) { return kIdOk; });
  // The record count comes from a 200-byte bit field, so the store is small; should
  // it ever fail, the pass fails instead of ending the process.
  InstallAllocationFailureHandler([](AllocationFailure) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  const auto job = static_cast<LinkJobCode>(control & 3);
  auto gauge = std::make_shared<FuzzedGauge>(data + 1, size - 1);
  SetLinkBackend(gauge);

  // Program-wide state as a fresh run of the program has it.
  LangIndex = static_cast<std::int8_t>((control >> 4) & 1);
  MaterialNames = DefaultMaterialNames();
  MaterialRecords = {};
  ArchiveCount = 0;
  LinkStatus = StatusOk;
  LinkCancel = 0;
  NeedMaterials = (control & 4) != 0 ? 1 : 0;
  LinkJob = job;
  LinkStep = StepConnect;

  const bool materialsJob = job == JobReadMaterials || job == JobWriteMaterials;
  GridData grid = materialsJob ? GridData(3, kGaugeMaterialCount + 1) : GridData(8, 2);
  int keptRows = 0;
  if (materialsJob) {
    FillMaterialsGrid(grid);
  } else if ((control & 8) != 0) {
    grid.SetRowCount(3);
    const std::array<std::string_view, 8> row1{"1", "10:20:30", "01.02.2015", "1", "2", "Wood", "1.50", "1800"};
    const std::array<std::string_view, 8> row2{"2", "not a time", "", "x", "", "", "", ""};
    grid.SetRow(1, {row1.begin(), row1.end()});
    grid.SetRow(2, {row2.begin(), row2.end()});
    keptRows = 2;
  }
  const GridData before = grid;
  std::array<std::uint8_t, kScreenImageSize> image{};

  SessionOptions options;
  options.retryPause = std::chrono::milliseconds(0);
  options.pauseUi = [](std::chrono::milliseconds) {};
  {
    BMTreadUSB worker(options);
    worker.SetTargets(nullptr, nullptr, nullptr, job == JobReadScreen ? nullptr : &grid,
                      job == JobReadScreen ? image.data() : nullptr);
    worker.Start();
    worker.WaitFor();
    Require(worker.EscapedError().empty());
  }

  Require(!gauge->open_ && gauge->opens_ == gauge->closes_ && gauge->opens_ >= 1);
  for (const MaterialRecord& record : MaterialRecords) {
    const std::vector<std::uint8_t> bytes(record.begin(), record.end());
    // Written records are rebuilt from the grid; read ones must have passed.
    Require(job == JobWriteMaterials || record == MaterialRecord{} || BlockPasses(bytes));
  }
  if (job == JobReadArchive) {
    for (int row = 1; row <= keptRows; ++row) Require(RowTexts(grid, row) == RowTexts(before, row));
    std::set<std::vector<std::string>> acceptable;
    for (const ArchiveRecordBytes& record : RecordsThatPassed(gauge->exchanges_)) {
      const auto texts = ArchiveRowTexts(DecodeArchiveRecord(record), LangIndex, CurrentFormatSettings());
      acceptable.emplace(texts.begin(), texts.end());
    }
    for (int row = keptRows + 1; row < grid.RowCount(); ++row) {
      Require(RowIsBlank(grid, row) || acceptable.count(RowTexts(grid, row)) > 0);
    }
  }
  SetLinkBackend(nullptr);
  return 0;
}
