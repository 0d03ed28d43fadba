// Fuzz target: the ".rz4" reader. Whatever the bytes, decoding never crashes or
// allocates without bound; a rejected file leaves the grid exactly as it was; an
// accepted one encodes to a file that decodes to the same grid.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "archive/archive_file.h"
#include "table/grid_data.h"

namespace {

std::string Snapshot(const rz47::GridData& grid) {
  std::string all = std::to_string(grid.ColCount()) + "x" + std::to_string(grid.RowCount()) + ":";
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColCount(); ++col) {
      all += std::to_string(grid.Cell(col, row).size()) + ":";
      all.append(grid.Cell(col, row));
    }
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  rz47::GridData grid(8, 3);
  grid.SetCell(0, 1, "1");
  grid.SetCell(5, 2, "keep");
  const std::string before = Snapshot(grid);
  rz47::FileResult result = rz47::DecodeGrid(bytes, grid, "fuzz.rz4");
  if (!result.ok) {
    if (Snapshot(grid) != before || result.message.empty()) std::abort();
    return 0;
  }
  const std::string encoded = rz47::EncodeGrid(grid);
  rz47::GridData again(1, 1);
  if (!rz47::DecodeGrid(encoded, again, "again.rz4").ok) std::abort();
  if (rz47::EncodeGrid(again) != encoded) std::abort();
  return 0;
}
