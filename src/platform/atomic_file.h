// Atomic replacement of a file, and the result type of file operations.
//
// WriteFileAtomically writes the new contents to a temporary file in the target's
// own folder, flushes it to the disk, renames it over the target and flushes the
// folder. A reader (or a crash, or a killed process) therefore sees either the old
// file or the complete new one, never a mix. On failure the old file is intact, the
// temporary file is removed and the result says why.
// Paths are the operating system's bytes (UTF-8 on Linux). Any thread; two writers
// of the same target at once end with one of the two complete files.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace rz47 {

// The outcome of a file operation: ok, or a UTF-8 message for the user.
struct FileResult {
  bool ok = true;
  std::string message;  // UTF-8; empty when ok

  static FileResult Ok() { return {}; }
  static FileResult Fail(std::string message) { return {false, std::move(message)}; }
  explicit operator bool() const { return ok; }
};

FileResult WriteFileAtomically(const std::string& path, std::string_view contents);

// The same for contents made piece by piece: `produce` hands each piece to the
// writer it is given, in order, and returns false (as soon as the writer does) to
// give up. Large files need no buffer of their whole size this way.
using PieceWriter = std::function<bool(std::string_view piece)>;
FileResult WriteFileAtomically(const std::string& path, const std::function<bool(const PieceWriter&)>& produce);

// A file's bytes, in a buffer that is not cleared before the read fills it. A large
// one is mapped memory on huge pages where the system offers them, which cuts the
// cost of first touching it.
struct FileBuffer {
  std::size_t mappedSize = 0;  // 0: allocated with new[]
  void operator()(char* data) const;
};

struct FileBytes {
  std::unique_ptr<char[], FileBuffer> data;
  std::size_t size = 0;
  std::string_view view() const { return {data.get(), size}; }
};

// Reads the whole file, a regular file in one read.
FileResult ReadWholeFile(const std::string& path, FileBytes& contents);
FileResult ReadWholeFile(const std::string& path, std::string& contents);

// The system's text for an errno value (UTF-8 as the locale gives it).
std::string SystemErrorText(int error);

}  // namespace rz47
