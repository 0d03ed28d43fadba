// TForm1: the file commands.
#include "app/Unit1.h"

namespace rz47 {

void TForm1::NewClick() {}
void TForm1::Action1Execute() {}
void TForm1::OpenFromCommandLine(const QStringList&) {}
void TForm1::SaveClick() {}
void TForm1::SaveAsClick() {}
void TForm1::Action2Execute() {}

}  // namespace rz47
