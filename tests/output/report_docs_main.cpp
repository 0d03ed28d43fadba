// output_report_docs OUTDIR: renders the demo report for the README: OUTDIR/report-demo.pdf
// and OUTDIR/screenshots/print-preview.png (the preview window as it opens).
#include <QApplication>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <cstdio>

#include "output/qt/quick_report6.h"
#include "platform/format_settings.h"
#include "sample_tables.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
  out.mkpath(QStringLiteral("screenshots"));
  rz47::SetFormatSettings(rz47::MakeFormatSettings("dd.MM.yyyy", ',', "hh:mm:ss"));

  const rz47::GridData grid = rz47::testing::MakeMeasurementGrid(150, 0);
  rz47::TQuickReport6 report(grid, rz47::testing::Cp("Архив измерений "), 0, {{2024, 6, 14}, {10, 42, 5}, 0});
  const QString pdf = out.filePath(QStringLiteral("report-demo.pdf"));
  if (!report.PrintToPdf(pdf)) return std::fprintf(stderr, "cannot write %s\n", qPrintable(pdf)), 1;
  std::printf("%s\n", qPrintable(pdf));

  std::unique_ptr<QPrintPreviewDialog> preview = report.CreatePreview(nullptr);
  // Offscreen there is no window manager to maximise it: give it a desktop's size.
  preview->setWindowState(Qt::WindowNoState);
  preview->resize(1280, 800);
  preview->show();
  app.processEvents();
  const QString png = out.filePath(QStringLiteral("screenshots/print-preview.png"));
  if (!preview->grab().save(png)) return std::fprintf(stderr, "cannot write %s\n", qPrintable(png)), 1;
  std::printf("%s\n", qPrintable(png));
  return 0;
}
