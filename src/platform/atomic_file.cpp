#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/text_pair.h"

namespace rz47 {
namespace {

constexpr TextPair kCannotWrite{"Не удалось записать файл ", "Cannot write the file "};
constexpr TextPair kCannotRead{"Не удалось прочитать файл ", "Cannot read the file "};
constexpr int kTempNameAttempts = 100;
constexpr std::size_t kMappedBufferFrom = std::size_t{4} << 20;

std::string Message(const TextPair& what, const std::string& path, int error) {
  return std::string(PickUtf8(what, LangIndex)) + path + ": " + SystemErrorText(error);
}

// Closes a descriptor on every way out; release() hands it over.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// A symbolic link is replaced at what it points to, so the link survives the save.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a fresh temporary file beside the target; -1 with errno set on failure.
int CreateTemporary(const std::string& folder, const std::string& name, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    tempPath = folder + "/." + name + ".tmp-" + std::to_string(::getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
    // 0666 lets the umask decide the permissions, as for any newly created file.
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void SyncFolder(const std::string& folder) {
  // The rename is done; a folder that cannot be flushed (some file systems refuse)
  // leaves the new file in place, so this is best effort.
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

std::unique_ptr<char[], FileBuffer> NewBuffer(std::size_t size) {
  if (size >= kMappedBufferFrom) {
    void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped != MAP_FAILED) {
      ::madvise(mapped, size, MADV_HUGEPAGE);
      return {static_cast<char*>(mapped), FileBuffer{size}};
    }
  }
  return {new char[size], FileBuffer{}};
}

}  // namespace

void FileBuffer::operator()(char* data) const {
  if (mappedSize > 0) ::munmap(data, mappedSize);
  else delete[] data;
}

std::string SystemErrorText(int error) {
  char buffer[256];
  // GNU strerror_r returns the text, which may or may not live in `buffer`.
  return ::strerror_r(error, buffer, sizeof buffer);
}

FileResult WriteFileAtomically(const std::string& path, std::string_view contents) {
  return WriteFileAtomically(path, [contents](const PieceWriter& write) { return write(contents); });
}

FileResult WriteFileAtomically(const std::string& requestedPath,
                               const std::function<bool(const PieceWriter&)>& produce) {
  const std::string path = ResolveTarget(requestedPath);
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return FileResult::Fail(Message(kCannotWrite, requestedPath, EISDIR));

  std::string tempPath;
  Fd fd(CreateTemporary(folder, name, tempPath));
  if (fd.get() < 0) return FileResult::Fail(Message(kCannotWrite, requestedPath, errno));

  auto fail = [&](int error) {
    if (fd.get() >= 0) ::close(fd.release());
    ::unlink(tempPath.c_str());
    return FileResult::Fail(Message(kCannotWrite, requestedPath, error));
  };

  // Replacing a file keeps its permissions.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd.get(), old.st_mode & 07777);

  int writeError = 0;
  const PieceWriter write = [&](std::string_view piece) {
    if (WriteAll(fd.get(), piece)) return true;
    writeError = errno;
    return false;
  };
  if (!produce(write)) return fail(writeError != 0 ? writeError : EIO);
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (::close(fd.release()) != 0) return fail(errno);
  if (::rename(tempPath.c_str(), path.c_str()) != 0) return fail(errno);
  SyncFolder(folder);
  return FileResult::Ok();
}

FileResult ReadWholeFile(const std::string& path, FileBytes& contents) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return FileResult::Fail(Message(kCannotRead, path, errno));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileResult::Fail(Message(kCannotRead, path, errno));
  if (S_ISDIR(st.st_mode)) return FileResult::Fail(Message(kCannotRead, path, EISDIR));

  // Room for the whole regular file plus one byte, so the end shows in one read;
  // anything else (a pipe, a file that grows meanwhile) is read in pieces.
  std::size_t capacity = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : std::size_t{1} << 16;
  auto data = NewBuffer(capacity);
  std::size_t used = 0;
  for (;;) {
    if (used == capacity) {
      auto bigger = NewBuffer(capacity * 2);
      std::memcpy(bigger.get(), data.get(), used);
      data = std::move(bigger);
      capacity *= 2;
    }
    ssize_t got = ::read(fd.get(), data.get() + used, capacity - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return FileResult::Fail(Message(kCannotRead, path, errno));
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  contents.data = std::move(data);
  contents.size = used;
  return FileResult::Ok();
}

FileResult ReadWholeFile(const std::string& path, std::string& contents) {
  FileBytes bytes;
  FileResult result = ReadWholeFile(path, bytes);
  if (result) contents.assign(bytes.view());
  return result;
}

}  // namespace rz47
