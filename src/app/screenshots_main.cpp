// rz47-screenshots OUTDIR: renders the program's windows and saves PNG pictures of
// them (main window in Russian and English, About) for the README.
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/Unit1.h"
#include "app/about_box.h"
#include "app/app_startup.h"
#include "app/error_boundary.h"
#include "platform/text_pair.h"

namespace {

void Save(QWidget& widget, const QDir& dir, const QString& name) {
  widget.grab().save(dir.filePath(name));
  std::printf("%s\n", qPrintable(dir.filePath(name)));
}

}  // namespace

int main(int argc, char** argv) {
  rz47::Rz47Application app(argc, argv);
  QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots"));
  dir.mkpath(QStringLiteral("."));
  rz47::AppSession session(app.arguments().mid(2));
  rz47::TForm1& form = session.MainForm();
  QTimer::singleShot(300, [&] {
    Save(form, dir, QStringLiteral("main-ru.png"));
    form.Lang1Click();
    app.processEvents();
    Save(form, dir, QStringLiteral("main-en.png"));
    {
      rz47::TAboutBox about(&form);
      about.show();
      app.processEvents();
      Save(about, dir, QStringLiteral("about-en.png"));
    }
    form.Lang0Click();
    {
      rz47::TAboutBox about(&form);
      about.show();
      app.processEvents();
      Save(about, dir, QStringLiteral("about-ru.png"));
    }
    app.quit();
  });
  app.exec();
  return 0;
}
