// Fuzz target: the workbook writers (.xlsx and .xls) fed tables of arbitrary cell
// texts, every byte value included. Whatever the texts: the export succeeds, the
// file is a complete workbook of its kind (zip container, or compound document),
// and nothing else is left in the folder (no temporary file).
//
// Input: byte 0 the column count (1..9), byte 1 the row count (1..64), then the
// cells row by row from row 0, each a length byte and that many text bytes; cells
// the input does not reach stay empty.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "output/workbook_export.h"
#include "platform/cp1251.h"
#include "table/grid_data.h"

namespace {

using namespace rz47;
namespace fs = std::filesystem;

fs::path& Folder() {
  static fs::path folder;
  return folder;
}

void RemoveFolder() {
  std::error_code ec;
  fs::remove_all(Folder(), ec);
}

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string Head(const fs::path& file, std::size_t n) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(n));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

GridData TableFrom(const std::uint8_t* data, std::size_t size) {
  const int cols = data[0] % 9 + 1;
  const int rows = data[1] % 64 + 1;
  GridData grid(cols, rows);
  std::size_t pos = 2;
  for (int row = 0; row < rows && pos < size; ++row) {
    for (int col = 0; col < cols && pos < size; ++col) {
      const std::size_t length = std::min<std::size_t>(data[pos++], size - pos);
      grid.SetCell(col, row, std::string_view(reinterpret_cast<const char*>(data + pos), length));
      pos += length;
    }
  }
  return grid;
}

void ExportAndCheck(const GridData& grid, const std::string& name, std::string_view magic) {
  const fs::path file = Folder() / name;
  const ExportResult result = ExportWorkbook(grid, Utf8ToCp1251("Архив измерений "), file);
  Require(result.status == ExportStatus::Ok);
  Require(Head(file, magic.size()) == magic);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Folder())) ++entries;
  Require(entries == 1);
  fs::remove(file);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "rz47-fuzz-workbook-XXXXXX").string();
  Require(::mkdtemp(pattern.data()) != nullptr);
  Folder() = pattern;
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const GridData grid = TableFrom(data, size);
  ExportAndCheck(grid, "fuzz.xlsx", std::string_view("PK\x03\x04", 4));
  ExportAndCheck(grid, "fuzz.xls", std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
  return 0;
}
