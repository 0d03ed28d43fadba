// Window layouts are designed in pixels at 120 pixels per inch; forms scale them to
// the screen's logical DPI. The designer font "MS Sans Serif" maps to a sans font
// that Debian ships.
#pragma once

#include <QFont>
#include <QRect>

namespace rz47 {

// A length in 120-ppi pixels scaled to the screen.
int Scaled(int px120);
QRect ScaledRect(int left, int top, int width, int height);
// The form font with a character height of `heightPx120` pixels at 120 ppi.
QFont FormFont(int heightPx120 = 14);

}  // namespace rz47
