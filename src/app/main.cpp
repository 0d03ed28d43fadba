// rz47: the desktop companion of the RZ-4.7 thickness gauge.
#include <QStringList>

#include "app/app_startup.h"
#include "app/error_boundary.h"

int main(int argc, char** argv) {
  rz47::Rz47Application app(argc, argv);
  // An error escaping start-up or the loop is shown; the program then ends with 0.
  rz47::RunGuarded([&] {
    rz47::AppSession session(app.arguments().mid(1));
    app.exec();
  });
  return 0;
}
