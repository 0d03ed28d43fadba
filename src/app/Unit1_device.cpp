// TForm1: reading the archive from the gauge.
#include "app/Unit1.h"

namespace rz47 {

void TForm1::Button1Click() {}

}  // namespace rz47
