// A compound document container (the structured-storage file that .xls workbooks
// live in) holding one stream under the root storage, written front to back.
//
// Layout of the file, in 512-byte sectors after the 512-byte header:
//   [header][stream sectors 0..n-1][directory sector][FAT sectors][DIFAT sectors]
// The stream's size is declared up front, so the header, the allocation tables and
// the directory are all known before the first stream byte is written and the
// stream can be copied straight through without being held in memory.
//
// Streams shorter than the 4096-byte cut-off would have to live in the mini stream;
// this writer pads them with zero bytes to 4096 instead, which keeps one kind of
// sector. Workbook readers stop at the stream's end-of-file record and ignore it.
// One object per file; not shared between threads.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rz47 {

class CompoundFileWriter {
 public:
  static constexpr std::uint32_t kSectorSize = 512;
  static constexpr std::uint32_t kMiniStreamCutoff = 4096;
  // The version-3 container keeps stream sizes in 32 bits; stay below 2 GiB.
  static constexpr std::uint64_t kMaxStreamSize = 0x7FFFFE00;

  // Opens (truncates) `file` for a stream named `streamName` (ASCII, up to 31
  // characters) of exactly `streamSize` bytes. Check Ok().
  CompoundFileWriter(const std::filesystem::path& file, std::string_view streamName,
                     std::uint64_t streamSize);
  ~CompoundFileWriter();
  CompoundFileWriter(const CompoundFileWriter&) = delete;
  CompoundFileWriter& operator=(const CompoundFileWriter&) = delete;

  bool Ok() const { return file_ != nullptr && error_.empty(); }
  const std::string& Error() const { return error_; }

  // Appends stream bytes; writing past the declared size is an error.
  bool Write(std::string_view bytes);
  // Checks that the whole stream arrived, then writes padding, directory and
  // allocation tables and closes the file.
  bool Finish();

 private:
  bool Fail(std::string what);
  bool Put(std::string_view bytes);
  std::string BuildHeader() const;
  std::string BuildDirectory() const;

  std::vector<char> buffer_;  // stdio buffer of file_, freed after the file is closed
  std::FILE* file_ = nullptr;
  std::string error_;
  std::string streamName_;
  std::uint64_t declaredSize_ = 0;
  std::uint64_t storedSize_ = 0;  // declared size, raised to the cut-off
  std::uint64_t written_ = 0;
  std::uint32_t streamSectors_ = 0;
  std::uint32_t fatSectors_ = 0;
  std::uint32_t difatSectors_ = 0;
};

}  // namespace rz47
