#include "archive/file_system.h"

#include <sys/stat.h>

#include "archive/archive_file.h"

namespace rz47 {

bool DiskFileSystem::Exists(const std::string& path) const {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

FileResult DiskFileSystem::Save(const GridData& grid, const std::string& path) {
  return SaveGridToFile(grid, path);
}

FileResult DiskFileSystem::Load(GridData& grid, const std::string& path) {
  return LoadGridFromFile(grid, path);
}

}  // namespace rz47
