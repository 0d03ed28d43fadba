// TForm1: spreadsheet export and the printed report.
#include "app/Unit1.h"

namespace rz47 {

void TForm1::SaveExelClick() {}
void TForm1::PrintClick() {}

}  // namespace rz47
