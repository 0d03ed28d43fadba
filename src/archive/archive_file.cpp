#include "archive/archive_file.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/text_pair.h"

namespace rz47 {
namespace {

constexpr std::size_t kHeaderSize = 8;  // NC, NR
constexpr std::size_t kLengthSize = 4;  // L before each cell's text
constexpr std::size_t kPieceSize = std::size_t{1} << 20;  // bytes handed to the writer at once

constexpr TextPair kDamaged{"Файл повреждён или не является архивом: ",
                            "The file is damaged or is not an archive: "};

// What is wrong with a file, one pair each.
enum class Defect { ShortHeader, FewColumns, FewRows, CountsTooLarge, NegativeLength, CellCut };

struct DefectText {
  Defect defect;
  TextPair text;
};

constexpr DefectText kDefectTexts[] = {
    {Defect::ShortHeader, {"файл короче заголовка", "the file is shorter than its header"}},
    {Defect::FewColumns, {"число столбцов меньше 1", "the column count is below 1"}},
    {Defect::FewRows, {"число строк меньше 2", "the row count is below 2"}},
    {Defect::CountsTooLarge, {"файл мал для своего числа строк и столбцов",
                              "the file is too small for its row and column counts"}},
    {Defect::NegativeLength, {"отрицательная длина ячейки", "a negative cell length"}},
    {Defect::CellCut, {"файл обрывается в ячейке", "the file ends inside a cell"}},
};

FileResult Damaged(const std::string& source, Defect defect, int col = -1, int row = -1) {
  std::string message = std::string(PickUtf8(kDamaged, LangIndex)) + source + " (";
  for (const DefectText& entry : kDefectTexts) {
    if (entry.defect == defect) message += PickUtf8(entry.text, LangIndex);
  }
  if (col >= 0) {
    message.append(" ").append(std::to_string(col)).append(", ").append(std::to_string(row));
  }
  message.append(")");
  return FileResult::Fail(std::move(message));
}

std::int32_t ReadInt32(const char* at) {
  const auto* b = reinterpret_cast<const unsigned char*>(at);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                   static_cast<std::uint32_t>(b[2]) << 16 |
                                   static_cast<std::uint32_t>(b[3]) << 24);
}

void WriteInt32(char* at, std::uint32_t value) {
  at[0] = static_cast<char>(value & 0xFF);
  at[1] = static_cast<char>((value >> 8) & 0xFF);
  at[2] = static_cast<char>((value >> 16) & 0xFF);
  at[3] = static_cast<char>((value >> 24) & 0xFF);
}

// Hands the file's bytes to `write` in pieces of about kPieceSize.
bool WriteGrid(const GridData& grid, const PieceWriter& write) {
  std::string piece;
  piece.reserve(kPieceSize + kLengthSize);
  const auto appendInt32 = [&piece](std::uint32_t value) {
    char bytes[4];
    WriteInt32(bytes, value);
    piece.append(bytes, 4);
  };
  const auto flush = [&] {
    bool ok = piece.empty() || write(piece);
    piece.clear();
    return ok;
  };
  const int cols = grid.ColCount();
  const int rows = grid.RowCount();
  appendInt32(static_cast<std::uint32_t>(cols));
  appendInt32(static_cast<std::uint32_t>(rows));
  for (int row = 1; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      std::string_view text = grid.Cell(col, row);
      appendInt32(static_cast<std::uint32_t>(text.size()));
      piece.append(text);
      if (piece.size() >= kPieceSize && !flush()) return false;
    }
  }
  return flush();
}

}  // namespace

std::string EncodeGrid(const GridData& grid) {
  std::string out;
  WriteGrid(grid, [&out](std::string_view piece) {
    out.append(piece);
    return true;
  });
  return out;
}

FileResult DecodeGrid(std::string_view bytes, GridData& grid, const std::string& source) {
  // Check everything before the grid is touched.
  if (bytes.size() < kHeaderSize) return Damaged(source, Defect::ShortHeader);
  const std::int32_t cols = ReadInt32(bytes.data());
  const std::int32_t rows = ReadInt32(bytes.data() + 4);
  if (cols < 1) return Damaged(source, Defect::FewColumns);
  if (rows < 2) return Damaged(source, Defect::FewRows);
  // Every cell takes at least its length field: huge counts fail here, before any loop.
  const std::uint64_t cellCount = static_cast<std::uint64_t>(cols) * static_cast<std::uint64_t>(rows - 1);
  if (cellCount > (bytes.size() - kHeaderSize) / kLengthSize) return Damaged(source, Defect::CountsTooLarge);

  std::size_t at = kHeaderSize;
  for (int row = 1; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      if (bytes.size() - at < kLengthSize) return Damaged(source, Defect::CellCut, col, row);
      const std::int32_t length = ReadInt32(bytes.data() + at);
      if (length < 0) return Damaged(source, Defect::NegativeLength, col, row);
      at += kLengthSize;
      if (bytes.size() - at < static_cast<std::size_t>(length)) return Damaged(source, Defect::CellCut, col, row);
      at += static_cast<std::size_t>(length);
    }
  }

  // Sound: every data row is rewritten, so the old ones go first and are not reshaped.
  grid.BeginUpdate();
  grid.SetRowCount(1);
  grid.SetColCount(cols);
  grid.SetRowCount(rows);
  std::vector<std::string_view> cells(static_cast<std::size_t>(cols));
  at = kHeaderSize;
  for (int row = 1; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      const auto length = static_cast<std::size_t>(ReadInt32(bytes.data() + at));
      const char* text = bytes.data() + at + kLengthSize;
      // A zero byte ends the text early; the next cell still starts after all L bytes.
      const void* zero = length > 0 ? std::memchr(text, 0, length) : nullptr;
      cells[col] = std::string_view(text, zero != nullptr ? static_cast<const char*>(zero) - text : length);
      at += kLengthSize + length;
    }
    grid.SetRow(row, cells);
  }
  grid.EndUpdate();
  return FileResult::Ok();
}

FileResult SaveGridToFile(const GridData& grid, const std::string& path) {
  return WriteFileAtomically(path, [&grid](const PieceWriter& write) { return WriteGrid(grid, write); });
}

FileResult LoadGridFromFile(GridData& grid, const std::string& path) {
  FileBytes bytes;
  if (FileResult read = ReadWholeFile(path, bytes); !read) return read;
  return DecodeGrid(bytes.view(), grid, path);
}

}  // namespace rz47
