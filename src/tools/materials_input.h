// The input rules of the materials grid (3 columns: number, name, speed; a heading
// row and rows 1..13 for the gauge's 13 materials). UI-free; the materials window
// calls them for every typed character and every change of the cell editor's text.
// UI thread only (the key filter may show a message box).
#pragma once

#include <cstddef>
#include <string_view>

namespace rz47 {

inline constexpr int kMaterialsColCount = 3;
inline constexpr int kMaterialsRowCount = 14;
inline constexpr int kMaterialNumberCol = 0;
inline constexpr int kMaterialNameCol = 1;
inline constexpr int kMaterialSpeedCol = 2;
inline constexpr int kFirstMaterialRow = 1;
inline constexpr int kLastMaterialRow = 13;

// The gauge keeps 20 name characters; a speed is a 16-bit value the user types as a
// whole number of up to 3 digits in practice.
inline constexpr std::size_t kNameLengthGuard = 20;
inline constexpr std::size_t kSpeedLengthGuard = 3;

// Enter, Backspace and Tab as the single-byte characters the grid sees.
inline constexpr char kKeyBackspace = 8;
inline constexpr char kKeyTab = 9;
inline constexpr char kKeyEnter = 13;

struct GridCursor {
  int col = kMaterialNameCol;
  int row = kFirstMaterialRow;
  friend bool operator==(const GridCursor&, const GridCursor&) = default;
};

// Digits and the editing keys pass everywhere; other characters only outside the
// speed column. Bytes are compared as signed values, so every character from 0x80
// up (all Cyrillic letters) counts as a non-digit.
bool KeyAllowedInColumn(char key, int col);

// The row Enter moves to: the next one, from the last material row back to the first.
int RowAfterEnter(int row);

// The key handler of the grid. A character the speed column refuses shows the
// warning "To enter only figures!" (stop icon, OK) through ShowMessageBox; when the
// box answers OK the character is discarded (returns 0). An Enter that survives moves
// `cursor` down (with the wrap); the column stays. Returns the key to hand on.
char MaterialsKeyPress(char key, GridCursor& cursor);

// The length guard: true when the editor's new text in `col` is past the limit of
// that column (20 for names, 3 for speeds). The grid then writes the same text back
// into the cell, which selects the editor's whole text so the next key replaces it;
// the text itself is never shortened.
bool LengthGuardTriggers(int col, std::string_view text);

}  // namespace rz47
