// The file operations the file commands need, behind an interface so the commands
// can be tested against an in-memory folder. Paths are the operating system's bytes
// (UTF-8 on Linux). UI thread.
#pragma once

#include <string>

#include "platform/atomic_file.h"
#include "table/grid_data.h"

namespace rz47 {

class ArchiveFileSystem {
 public:
  virtual ~ArchiveFileSystem() = default;
  // True when anything (file, folder, link) has that name.
  virtual bool Exists(const std::string& path) const = 0;
  virtual FileResult Save(const GridData& grid, const std::string& path) = 0;
  // Leaves the grid unchanged unless it succeeds.
  virtual FileResult Load(GridData& grid, const std::string& path) = 0;
};

// The real disk: SaveGridToFile / LoadGridFromFile.
class DiskFileSystem final : public ArchiveFileSystem {
 public:
  bool Exists(const std::string& path) const override;
  FileResult Save(const GridData& grid, const std::string& path) override;
  FileResult Load(GridData& grid, const std::string& path) override;
};

}  // namespace rz47
