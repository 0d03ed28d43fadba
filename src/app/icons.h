// The program's pictures, drawn in code so that no binary asset is needed: the
// menu icons of ImageList1 (numbers 0 to 12 as the menu refers to them), the
// application icon and the About logo.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace rz47 {

QIcon MenuIcon(int number);
QIcon ApplicationIcon();
QPixmap AboutLogo(const QSize& size);

}  // namespace rz47
