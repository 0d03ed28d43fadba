// rz47-screenshots OUTDIR: renders the program's windows and saves PNG pictures of
// them (main window in Russian and English, About, the screenshot and materials
// windows filled from the gauge) for the README.
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "app/Unit1.h"
#include "app/about_box.h"
#include "app/app_startup.h"
#include "app/error_boundary.h"
#include "platform/text_pair.h"
#include "tools/Unit5.h"
#include "tools/Unit7.h"

namespace {

void Save(QWidget& widget, const QDir& dir, const QString& name) {
  widget.grab().save(dir.filePath(name));
  std::printf("%s\n", qPrintable(dir.filePath(name)));
}

// Processes events until `done` holds or the gauge has had 20 s to answer.
void WaitUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 20000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  QCoreApplication::processEvents();
}

// The screenshot window after a read and the materials window after its read.
void SaveToolWindows(rz47::TForm1& form, const QDir& dir, const QString& lang) {
  {
    rz47::TForm5 screenshot(&form);
    screenshot.show();
    screenshot.Button1Click();
    WaitUntil([&] { return screenshot.Button1->isEnabled(); });
    Save(screenshot, dir, QStringLiteral("screenshot-%1.png").arg(lang));
  }
  {
    rz47::TForm7 materials(&form);
    materials.show();
    materials.StartRead();
    WaitUntil([&] { return materials.Button1->isEnabled(); });
    Save(materials, dir, QStringLiteral("materials-%1.png").arg(lang));
  }
}

}  // namespace

int main(int argc, char** argv) {
  rz47::Rz47Application app(argc, argv);
  QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots"));
  dir.mkpath(QStringLiteral("."));
  rz47::AppSession session(app.arguments().mid(2));
  rz47::TForm1& form = session.MainForm();
  QTimer::singleShot(300, [&] {
    // The table as a user sees it after "Read from device" (the progress window is
    // modal and closes itself when the read has ended).
    form.Button1Click();
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
    SaveToolWindows(form, dir, QStringLiteral("ru"));
    form.Lang1Click();
    SaveToolWindows(form, dir, QStringLiteral("en"));
    form.Lang0Click();
    app.quit();
  });
  app.exec();
  return 0;
}
