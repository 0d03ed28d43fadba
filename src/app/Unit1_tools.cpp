// TForm1: the screenshot and materials windows.
#include "app/Unit1.h"

namespace rz47 {

void TForm1::Button3Click() {}
void TForm1::ScreenShotClick() {}

}  // namespace rz47
