#include "tools/materials_input.h"

#include "platform/message_box.h"
#include "tools/tool_texts.h"

namespace rz47 {

bool KeyAllowedInColumn(char key, int col) {
  // Signed comparison on purpose: '0'..'9' is a range of positive values, and a
  // byte from 0x80 up is negative, hence never a digit.
  const signed char c = static_cast<signed char>(key);
  const bool digitOrEditKey =
      (c >= '0' && c <= '9') || c == kKeyBackspace || c == kKeyTab || c == kKeyEnter;
  return digitOrEditKey || col != kMaterialSpeedCol;
}

int RowAfterEnter(int row) { return row >= kLastMaterialRow ? kFirstMaterialRow : row + 1; }

char MaterialsKeyPress(char key, GridCursor& cursor) {
  if (!KeyAllowedInColumn(key, cursor.col)) {
    const int answer = ShowMessageBox(Text(texts::kOnlyFigures), Text(texts::kWarning), kMbStopOk);
    if (answer == kIdOk) key = 0;
  }
  if (key == kKeyEnter) cursor.row = RowAfterEnter(cursor.row);
  return key;
}

bool LengthGuardTriggers(int col, std::string_view text) {
  if (col == kMaterialNameCol) return text.size() > kNameLengthGuard;
  if (col == kMaterialSpeedCol) return text.size() > kSpeedLengthGuard;
  return false;
}

}  // namespace rz47
