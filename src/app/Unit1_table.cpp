// TForm1: the table's mouse and key handlers, row deletion, sort and copy.
#include "app/Unit1.h"
#include "app/string_grid_view.h"

namespace rz47 {

void TForm1::ConnectTable() {}
void TForm1::DeleteClick() {}
void TForm1::Copy1Click() {}
void TForm1::Copy2Click() {}

}  // namespace rz47
