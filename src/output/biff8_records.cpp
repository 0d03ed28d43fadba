#include "output/biff8_records.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/cp1251.h"

namespace rz47::biff8 {
namespace {

// Pixels of the default font's digit and of the cell padding a column width in
// characters leaves around the text; the stored width includes the padding.
constexpr double kDigitPixels = 7.0;
constexpr double kPaddingPixels = 5.0;

std::uint16_t StoredColumnWidth(double characters) {
  const double units = (characters * kDigitPixels + kPaddingPixels) / kDigitPixels * 256.0;
  return static_cast<std::uint16_t>(std::clamp(std::floor(units), 0.0, 65535.0));
}

// FONT: height in 1/20 pt, flags, colour, weight, escapement, underline, family,
// character set, reserved, then the name as a short string (8-bit length).
void PutFont(std::string& out) {
  constexpr std::string_view kName = "Arial";
  std::string b;
  Put16(b, 200);     // 10 pt
  Put16(b, 0);       // no italic, strike-out, outline
  Put16(b, 0x7FFF);  // automatic colour
  Put16(b, 400);     // normal weight
  Put16(b, 0);       // no super-/subscript
  Put8(b, 0);        // no underline
  Put8(b, 0);        // family not given
  Put8(b, 0);        // ANSI character set
  Put8(b, 0);
  Put8(b, static_cast<std::uint8_t>(kName.size()));
  Put8(b, 0);  // compressed characters
  b.append(kName);
  PutRecord(out, kFont, b);
}

// XF (20 bytes):
//   0 font index (2)   2 number format (2)   4 type/protection/parent (2)
//   6 alignment: bits 0-2 horizontal, 4-6 vertical   7 rotation   8 indent/shrink
//   9 bits 2-7 attribute groups this record sets   10..17 borders (none)
//   18 pattern colours: foreground 64, background 65 (system window colours)
void PutXf(std::string& out, bool style, std::uint8_t alignment, std::uint8_t usedAttributes) {
  std::string b;
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, style ? 0xFFF5 : 0x0001);  // locked; a style has no parent, a cell format has style 0
  Put8(b, alignment);
  Put8(b, 0);
  Put8(b, 0);
  Put8(b, usedAttributes);
  Put32(b, 0);
  Put32(b, 0);
  Put16(b, 0x20C0);
  PutRecord(out, kXf, b);
}

constexpr std::uint8_t kAlignGeneralBottom = 0x20;
constexpr std::uint8_t kAlignCentreBottom = 0x22;
constexpr std::uint8_t kUsedAlignment = 0x10;
// For a style format a set bit means "not part of this style": the extra built-in
// styles carry only their font.
constexpr std::uint8_t kStyleFontOnly = 0xF4;

}  // namespace

void PutRecord(std::string& out, std::uint16_t type, std::string_view body) {
  if (body.size() > kMaxRecordBody) throw std::length_error("BIFF8 record body too long");
  Put16(out, type);
  Put16(out, static_cast<std::uint16_t>(body.size()));
  out.append(body);
}

Biff8Text EncodeText(std::string_view cp1251) {
  const std::u16string utf16 = Cp1251ToUtf16(cp1251);
  Biff8Text text;
  text.wide = std::any_of(utf16.begin(), utf16.end(), [](char16_t c) { return c > 0xFF; });
  text.chars.reserve(utf16.size() * (text.wide ? 2 : 1));
  for (char16_t c : utf16) {
    if (text.wide) {
      Put16(text.chars, c);
    } else {
      Put8(text.chars, static_cast<std::uint8_t>(c));
    }
  }
  return text;
}

// BOF (16 bytes): version, substream kind, build and year of the writing
// application, file history flags, lowest version that can read the file.
void PutBof(std::string& out, SubstreamKind kind) {
  std::string b;
  Put16(b, 0x0600);
  Put16(b, static_cast<std::uint16_t>(kind));
  Put16(b, 0x0DBB);
  Put16(b, 0x07CC);
  Put32(b, 0);
  Put32(b, 0x00000006);
  PutRecord(out, kBof, b);
}

void PutEof(std::string& out) { PutRecord(out, kEof, {}); }

void PutGlobalsHead(std::string& out) {
  std::string b;
  Put16(b, 1200);  // strings are Unicode
  PutRecord(out, kCodepage, b);

  // WINDOW1: position and size in twips, flags (scroll bars and sheet tabs
  // shown), active sheet, first visible tab, selected tabs, tab bar ratio.
  b.clear();
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, 12000);
  Put16(b, 8000);
  Put16(b, 0x0038);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, 600);
  PutRecord(out, kWindow1, b);

  // Readers expect fonts 0 to 3 (there is no font 4); all are the default font.
  for (int i = 0; i < 4; ++i) PutFont(out);

  PutXf(out, true, kAlignGeneralBottom, 0);
  for (int i = 1; i < 15; ++i) PutXf(out, true, kAlignGeneralBottom, kStyleFontOnly);
  PutXf(out, false, kAlignGeneralBottom, 0);                   // kDefaultCellXf
  PutXf(out, false, kAlignCentreBottom, kUsedAlignment);        // kCentredCellXf

  // STYLE: the built-in "Normal" style (id 0) on format 0.
  b.clear();
  Put16(b, 0x8000);
  Put8(b, 0);
  Put8(b, 0xFF);
  PutRecord(out, kStyle, b);
}

// BOUNDSHEET: stream offset of the sheet's BOF (4), visible worksheet (2), name as a
// short string: length (1), flags (1), characters.
void PutBoundSheet(std::string& out, std::uint32_t bofOffset, std::string_view nameCp1251) {
  const Biff8Text name = EncodeText(nameCp1251);
  std::string b;
  Put32(b, bofOffset);
  Put16(b, 0);
  Put8(b, static_cast<std::uint8_t>(std::min<std::size_t>(name.Count(), 255)));
  Put8(b, name.wide ? 1 : 0);
  b.append(name.chars);
  PutRecord(out, kBoundSheet, b);
}

void PutDefColWidth(std::string& out) {
  std::string b;
  Put16(b, 8);
  PutRecord(out, kDefColWidth, b);
}

// COLINFO: first and last column, width in 1/256 character, format, flags, reserved.
void PutColInfo(std::string& out, int col, double width, std::uint16_t xf) {
  std::string b;
  Put16(b, static_cast<std::uint16_t>(col));
  Put16(b, static_cast<std::uint16_t>(col));
  Put16(b, StoredColumnWidth(width));
  Put16(b, xf);
  Put16(b, 0);
  Put16(b, 0);
  PutRecord(out, kColInfo, b);
}

// DIMENSIONS: first used row, last used row + 1 (4 bytes each), first used
// column, last used column + 1, reserved.
void PutDimensions(std::string& out, int firstRow, int lastRowPlus1, int firstCol, int lastColPlus1) {
  std::string b;
  Put32(b, static_cast<std::uint32_t>(firstRow));
  Put32(b, static_cast<std::uint32_t>(lastRowPlus1));
  Put16(b, static_cast<std::uint16_t>(firstCol));
  Put16(b, static_cast<std::uint16_t>(lastColPlus1));
  Put16(b, 0);
  PutRecord(out, kDimensions, b);
}

// LABELSST: row, column, format, index into the shared string table.
void PutLabelSst(std::string& out, int row, int col, std::uint16_t xf, std::uint32_t sstIndex) {
  Put16(out, kLabelSst);
  Put16(out, 10);
  Put16(out, static_cast<std::uint16_t>(row));
  Put16(out, static_cast<std::uint16_t>(col));
  Put16(out, xf);
  Put32(out, sstIndex);
}

// WINDOW2: flags (grid lines, headers, zeros, automatic grid colour, outline
// symbols; the first sheet also selected and active), top row, left column, grid
// colour, zoom of page-break and normal view, reserved.
void PutWindow2(std::string& out, bool activeSheet) {
  std::string b;
  Put16(b, activeSheet ? 0x06B6 : 0x00B6);
  Put16(b, 0);
  Put16(b, 0);
  Put32(b, 64);
  Put16(b, 0);
  Put16(b, 0);
  Put32(b, 0);
  PutRecord(out, kWindow2, b);
}

}  // namespace rz47::biff8
