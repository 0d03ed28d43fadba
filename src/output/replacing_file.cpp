#include "output/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace rz47 {
namespace {

std::atomic<unsigned> tempCounter{0};

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
  if (target_.filename().empty()) {
    error_ = "no file name";
    return;
  }
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  // O_EXCL with a name of our own: nothing else's file is ever opened, and mode
  // 0666 lets the umask decide the final permissions as for any new file.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(1, '.');
    name += target_.filename().string();
    name += ".part-";
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(tempCounter.fetch_add(1));
    std::filesystem::path candidate = folder / name;
    int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      temp_ = std::move(candidate);
      return;
    }
    if (errno != EEXIST) {
      error_ = std::strerror(errno);
      return;
    }
  }
  error_ = "no free temporary name";
}

ReplacingFile::~ReplacingFile() {
  if (!temp_.empty() && !committed_) {
    std::error_code ignored;
    std::filesystem::remove(temp_, ignored);
  }
}

bool ReplacingFile::Commit() {
  if (temp_.empty()) return false;
  // The data must be on disk before the name points at it.
  int fd = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  std::error_code ec;
  if (std::filesystem::is_directory(target_, ec)) {
    error_ = "the target is a folder";
    return false;
  }
  std::filesystem::rename(temp_, target_, ec);
  if (ec) {
    error_ = ec.message();
    return false;
  }
  committed_ = true;
  // And the folder's entry must be on disk too.
  std::filesystem::path folder = target_.parent_path();
  if (folder.empty()) folder = ".";
  fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return true;
}

}  // namespace rz47
