// Record-level pieces of a BIFF8 workbook stream: a little-endian byte builder and
// the fixed records the writer needs, each with its layout drawn beside it.
// Every record is a 2-byte type, a 2-byte body length and the body; a body holds at
// most kMaxRecordBody bytes, longer data goes on in CONTINUE records.
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rz47::biff8 {

inline constexpr std::size_t kMaxRecordBody = 8224;
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxCols = 256;
inline constexpr std::size_t kMaxStringChars = 32767;

// Record types.
inline constexpr std::uint16_t kBof = 0x0809;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kCodepage = 0x0042;
inline constexpr std::uint16_t kWindow1 = 0x003D;
inline constexpr std::uint16_t kFont = 0x0031;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kStyle = 0x0293;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kExtSst = 0x00FF;
inline constexpr std::uint16_t kDefColWidth = 0x0055;
inline constexpr std::uint16_t kColInfo = 0x007D;
inline constexpr std::uint16_t kDimensions = 0x0200;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kWindow2 = 0x023E;

// Cell formats: 15 style formats, the default cell format, then ours.
inline constexpr std::uint16_t kDefaultCellXf = 15;
inline constexpr std::uint16_t kCentredCellXf = 16;

// Little-endian appends.
inline void Put8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }
inline void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// Appends one record; `body` must not exceed kMaxRecordBody.
void PutRecord(std::string& out, std::uint16_t type, std::string_view body);

// A text as BIFF8 stores it: 8-bit "compressed" characters when every character
// is below U+0100, UTF-16LE otherwise.
struct Biff8Text {
  bool wide = false;
  std::string chars;  // 1 or 2 bytes per character
  std::size_t Count() const { return wide ? chars.size() / 2 : chars.size(); }
};
Biff8Text EncodeText(std::string_view cp1251);

// BOF: version 0x0600 (BIFF8) and the substream kind.
enum class SubstreamKind : std::uint16_t { Globals = 0x0005, Worksheet = 0x0010 };
void PutBof(std::string& out, SubstreamKind kind);
void PutEof(std::string& out);

// The globals before the sheet list: code page, window, fonts, formats, style.
void PutGlobalsHead(std::string& out);
// BOUNDSHEET: where a sheet's BOF sits in the stream, and its name.
void PutBoundSheet(std::string& out, std::uint32_t bofOffset, std::string_view nameCp1251);

// Sheet records. Widths are in the spreadsheet's character units.
void PutDefColWidth(std::string& out);
void PutColInfo(std::string& out, int col, double width, std::uint16_t xf);
void PutDimensions(std::string& out, int firstRow, int lastRowPlus1, int firstCol, int lastColPlus1);
void PutLabelSst(std::string& out, int row, int col, std::uint16_t xf, std::uint32_t sstIndex);
void PutWindow2(std::string& out, bool activeSheet);
inline constexpr std::size_t kLabelSstSize = 4 + 10;

}  // namespace rz47::biff8
