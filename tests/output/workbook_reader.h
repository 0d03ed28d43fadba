// Runs tests/output/read_workbook.py (openpyxl for .xlsx, xlrd for .xls: readers
// that share no code with ours) and parses what it prints. A reader that fails
// fails the calling test with its error output.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace rz47::testing {

struct ReadCell {
  int row = 0;
  int col = 0;
  std::string type;  // "s" for a string
  bool centred = false;
  std::string value;  // UTF-8
};

struct ReadSheet {
  std::string name;  // UTF-8
  int rows = 0;
  int cols = 0;
  std::vector<ReadCell> cells;  // non-empty cells in row order
};

struct ReadColumn {
  bool present = false;  // the workbook says something about this column
  double width = 0;      // character units
  bool centred = false;
};

struct ReadColumns {
  std::string sheet;
  std::vector<ReadColumn> columns;
};

std::vector<ReadSheet> ReadWorkbookCells(const std::filesystem::path& file);
std::vector<ReadSheet> ReadWorkbookSummary(const std::filesystem::path& file);
std::vector<ReadColumns> ReadWorkbookColumns(const std::filesystem::path& file, int count);
// The bytes of stream `name` of a compound document, as xlrd's container reader
// sees them.
std::string ReadCompoundStream(const std::filesystem::path& file, const std::string& name);

// A fresh, empty folder that is removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Names of the files in the folder, sorted.
  std::vector<std::string> Files() const;

 private:
  std::filesystem::path path_;
};

}  // namespace rz47::testing
