#include "output/cfb_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace rz47 {
namespace {

// Sector numbers with a meaning of their own in the allocation tables.
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

constexpr std::uint32_t kIdsPerSector = CompoundFileWriter::kSectorSize / 4;  // 128
constexpr std::uint32_t kHeaderDifatEntries = 109;
constexpr std::uint32_t kIdsPerDifatSector = kIdsPerSector - 1;  // the last id links on
constexpr std::uint32_t kDirEntrySize = 128;

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

void Put16(std::string& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<char>(v & 0xFF);
  out[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Append32(std::string& out, std::uint32_t v) {
  out.resize(out.size() + 4);
  Put32(out, out.size() - 4, v);
}

// One directory entry: name in UTF-16LE with its terminator, type, colour, links,
// start sector and size. Storage dates and class ids stay zero.
std::string DirEntry(std::string_view name, std::uint8_t type, std::uint32_t child,
                     std::uint32_t start, std::uint32_t size) {
  std::string e(kDirEntrySize, '\0');
  for (std::size_t i = 0; i < name.size(); ++i) Put16(e, 2 * i, static_cast<unsigned char>(name[i]));
  Put16(e, 0x40, name.empty() ? 0 : static_cast<std::uint16_t>(2 * (name.size() + 1)));
  e[0x42] = static_cast<char>(type);
  e[0x43] = static_cast<char>(1);  // black: a tree of one node per level is trivially valid
  Put32(e, 0x44, kNoStream);       // left sibling
  Put32(e, 0x48, kNoStream);       // right sibling
  Put32(e, 0x4C, child);
  Put32(e, 0x74, start);
  Put32(e, 0x78, size);
  return e;
}

}  // namespace

CompoundFileWriter::CompoundFileWriter(const std::filesystem::path& file, std::string_view streamName,
                                       std::uint64_t streamSize)
    : streamName_(streamName), declaredSize_(streamSize) {
  if (streamName.empty() || streamName.size() > 31) {
    error_ = "bad stream name";
    return;
  }
  if (streamSize > kMaxStreamSize) {
    error_ = "stream too large for the container";
    return;
  }
  storedSize_ = std::max<std::uint64_t>(streamSize, kMiniStreamCutoff);
  streamSectors_ = static_cast<std::uint32_t>((storedSize_ + kSectorSize - 1) / kSectorSize);
  // The tables must also map the sectors they occupy themselves: grow them until
  // they cover everything.
  for (;;) {
    const std::uint32_t total = streamSectors_ + 1 + fatSectors_ + difatSectors_;
    const std::uint32_t needFat = (total + kIdsPerSector - 1) / kIdsPerSector;
    const std::uint32_t needDifat =
        needFat > kHeaderDifatEntries
            ? (needFat - kHeaderDifatEntries + kIdsPerDifatSector - 1) / kIdsPerDifatSector
            : 0;
    if (needFat == fatSectors_ && needDifat == difatSectors_) break;
    fatSectors_ = needFat;
    difatSectors_ = needDifat;
  }

  file_ = std::fopen(file.c_str(), "wb");
  if (file_ == nullptr) {
    error_ = std::strerror(errno);
    return;
  }
  buffer_.resize(1 << 20);
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  Put(BuildHeader());
}

CompoundFileWriter::~CompoundFileWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

bool CompoundFileWriter::Fail(std::string what) {
  if (error_.empty()) error_ = std::move(what);
  return false;
}

bool CompoundFileWriter::Put(std::string_view bytes) {
  if (!error_.empty()) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) return Fail(std::strerror(errno));
  return true;
}

bool CompoundFileWriter::Write(std::string_view bytes) {
  if (!Ok()) return false;
  if (written_ + bytes.size() > declaredSize_) return Fail("stream longer than declared");
  written_ += bytes.size();
  return Put(bytes);
}

std::string CompoundFileWriter::BuildHeader() const {
  const std::uint32_t dirSector = streamSectors_;
  const std::uint32_t firstFat = dirSector + 1;
  const std::uint32_t firstDifat = firstFat + fatSectors_;
  std::string h(kSectorSize, '\0');
  std::memcpy(h.data(), kSignature, sizeof kSignature);
  Put16(h, 0x18, 0x003E);  // minor version
  Put16(h, 0x1A, 0x0003);  // major version 3: 512-byte sectors
  Put16(h, 0x1C, 0xFFFE);  // little-endian byte order mark
  Put16(h, 0x1E, 9);       // sector size 2^9
  Put16(h, 0x20, 6);       // mini sector size 2^6
  Put32(h, 0x2C, fatSectors_);
  Put32(h, 0x30, dirSector);
  Put32(h, 0x38, kMiniStreamCutoff);
  Put32(h, 0x3C, kEndOfChain);  // no mini FAT
  Put32(h, 0x44, difatSectors_ > 0 ? firstDifat : kEndOfChain);
  Put32(h, 0x48, difatSectors_);
  for (std::uint32_t i = 0; i < kHeaderDifatEntries; ++i) {
    Put32(h, 0x4C + 4 * i, i < fatSectors_ ? firstFat + i : kFreeSect);
  }
  return h;
}

std::string CompoundFileWriter::BuildDirectory() const {
  std::string dir;
  dir += DirEntry("Root Entry", 5, 1, kEndOfChain, 0);
  dir += DirEntry(streamName_, 2, kNoStream, 0, static_cast<std::uint32_t>(storedSize_));
  while (dir.size() < kSectorSize) dir += DirEntry({}, 0, kNoStream, 0, 0);
  return dir;
}

bool CompoundFileWriter::Finish() {
  if (!Ok()) return false;
  if (written_ != declaredSize_) return Fail("stream shorter than declared");
  const std::uint64_t padded = static_cast<std::uint64_t>(streamSectors_) * kSectorSize;
  Put(std::string(padded - written_, '\0'));
  Put(BuildDirectory());

  const std::uint32_t dirSector = streamSectors_;
  const std::uint32_t firstFat = dirSector + 1;
  const std::uint32_t firstDifat = firstFat + fatSectors_;
  std::string fat;
  fat.reserve(static_cast<std::size_t>(fatSectors_) * kSectorSize);
  for (std::uint32_t s = 0; s < streamSectors_; ++s) {
    Append32(fat, s + 1 < streamSectors_ ? s + 1 : kEndOfChain);
  }
  Append32(fat, kEndOfChain);  // the directory is one sector long
  for (std::uint32_t i = 0; i < fatSectors_; ++i) Append32(fat, kFatSect);
  for (std::uint32_t i = 0; i < difatSectors_; ++i) Append32(fat, kDifSect);
  while (fat.size() < static_cast<std::size_t>(fatSectors_) * kSectorSize) Append32(fat, kFreeSect);
  Put(fat);

  // FAT sectors past the 109 the header lists, 127 per DIFAT sector, each sector
  // ending with the number of the next one.
  std::string difat;
  std::uint32_t fatIndex = kHeaderDifatEntries;
  for (std::uint32_t d = 0; d < difatSectors_; ++d) {
    for (std::uint32_t i = 0; i < kIdsPerDifatSector; ++i, ++fatIndex) {
      Append32(difat, fatIndex < fatSectors_ ? firstFat + fatIndex : kFreeSect);
    }
    Append32(difat, d + 1 < difatSectors_ ? firstDifat + d + 1 : kEndOfChain);
  }
  Put(difat);

  if (std::fclose(file_) != 0) Fail(std::strerror(errno));
  file_ = nullptr;
  return error_.empty();
}

}  // namespace rz47
