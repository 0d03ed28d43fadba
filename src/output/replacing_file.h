// A file written beside its target under a temporary name and renamed over the
// target only when complete, so a failed or cancelled write never leaves a
// half-written file and never harms an existing one.
// One object per write; any thread (no shared state).
#pragma once

#include <filesystem>
#include <string>

namespace rz47 {

class ReplacingFile {
 public:
  // Reserves a fresh temporary name in the target's folder (created empty, with
  // the permissions a new file gets). Check Ok() before writing.
  explicit ReplacingFile(std::filesystem::path target);
  // Removes the temporary file unless Commit succeeded.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool Ok() const { return !temp_.empty(); }
  // Why the temporary file could not be made or renamed (UTF-8).
  const std::string& Error() const { return error_; }
  const std::filesystem::path& TempPath() const { return temp_; }
  const std::filesystem::path& Target() const { return target_; }

  // Renames the temporary file over the target. False (with Error()) on failure.
  bool Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::string error_;
  bool committed_ = false;
};

}  // namespace rz47
