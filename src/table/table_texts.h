// Text pairs the table's own rules show (UTF-8 source, Windows-1251 through Text()).
// The main window's text table refers to these instead of repeating them.
#pragma once

#include "platform/text_pair.h"

namespace rz47::table_texts {

// The misspelling is the text the user sees.
inline constexpr TextPair kTableEmpty{"Таблтца пуста", "The table is empty"};
inline constexpr TextPair kWarning{"Внимание", "Warning"};

}  // namespace rz47::table_texts
