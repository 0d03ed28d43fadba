#include "output/qt/quick_report6.h"

#include <QDateTime>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "output/replacing_file.h"
#include "output/report_layout.h"
#include "platform/qt/qt_text.h"

namespace rz47 {
namespace {

using namespace report_mm;

QFont SansFont(double points, bool bold) {
  // Arial where it exists; Debian resolves the name to its metric twin.
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QFont MonoFont(double points) {
  QFont font;
  font.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("DejaVu Sans Mono"),
                    QStringLiteral("Liberation Mono")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(points);
  return font;
}

// Millimetres to device pixels of the painter's device.
class MmScale {
 public:
  explicit MmScale(double dpi) : pxPerMm_(dpi / 25.4) {}
  double operator()(double mm) const { return mm * pxPerMm_; }
  QRectF Rect(double left, double top, double width, double height) const {
    return {(*this)(left), (*this)(top), (*this)(width), (*this)(height)};
  }

 private:
  double pxPerMm_;
};

// An auto-sized, left-aligned field on one line. A line longer than the band (the
// Russian heading line at 8 pt is a few millimetres wider than 190 mm) runs on into
// the right margin rather than lose its end; only the paper's edge cuts it.
void DrawField(QPainter& painter, const QFont& font, const QRectF& box, const QString& text) {
  painter.setFont(font);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
}

}  // namespace

TQuickReport6::TQuickReport6(const GridData& grid, std::string_view titlePrefixCp1251, int lang,
                             const LocalMoment& moment, QObject* owner)
    : QObject(owner),
      lines_(BuildReportLines(grid)),
      reportTitle_(QText(kReportTitle, lang)),
      titleCaption_(ToQString(rz47::ReportTitle(titlePrefixCp1251, moment))) {
  setObjectName(QStringLiteral("QuickReport6"));
}

int TQuickReport6::PageCount() const { return report_mm::PageCount(lines_.BuiltLineCount()); }

void TQuickReport6::QRExpr1Print(QString& value) { value = ToQString(lines_.NextBodyLine()); }

void TQuickReport6::QRExpr2Print(QString& value) { value = ToQString(lines_.HeadingLine()); }

bool TQuickReport6::Paint(QPrinter* printer) {
  printer->setDocName(reportTitle_);
  printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMargin, kMargin, kMargin, kMargin), QPageLayout::Millimeter));
  QPainter painter;
  if (!painter.begin(printer)) return false;
  // The painter's origin is the top-left corner inside the margins.
  const MmScale mm(printer->resolution());
  const QFont titleFont = SansFont(kTitlePointSize, true);
  const QFont lineFont = MonoFont(kLinePointSize);
  const QFont footerFont = SansFont(kFooterPointSize, false);
  const double footerTop = kPageHeight - 2 * kMargin - kFooterHeight;
  const int perPage = BodyLinesPerPage();
  const int bodyLines = lines_.BuiltLineCount();
  const int pages = PageCount();

  int printed = 0;
  for (int page = 0; page < pages; ++page) {
    if (page > 0) printer->newPage();
    // Page header: title label, heading line.
    DrawField(painter, titleFont, mm.Rect(kTitleLeft, kTitleTop, kBandWidth - kTitleLeft, kHeaderHeight),
              titleCaption_);
    QString text;
    QRExpr2Print(text);
    DrawField(painter, lineFont, mm.Rect(0, kHeadingTop, kBandWidth, kHeaderHeight - kHeadingTop), text);
    // Body bands.
    for (int i = 0; i < perPage && printed < bodyLines; ++i, ++printed) {
      QRExpr1Print(text);
      DrawField(painter, lineFont, mm.Rect(0, kHeaderHeight + i * kBodyLineHeight, kBandWidth, kBodyLineHeight),
                text);
    }
    // Page footer: the page number.
    DrawField(painter, footerFont,
              mm.Rect(kPageNumberLeft, footerTop + kPageNumberTop, kPageNumberWidth, kFooterHeight - kPageNumberTop),
              QString::number(page + 1));
  }
  return painter.end();
}

std::unique_ptr<QPrintPreviewDialog> TQuickReport6::CreatePreview(QWidget* parent) {
  // The dialog's own printer: printing from the preview goes to the printer (or
  // PDF file) the user picks there.
  auto dialog = std::make_unique<QPrintPreviewDialog>(parent);
  dialog->setObjectName(QStringLiteral("PrintPreview"));
  dialog->setWindowTitle(reportTitle_);
  connect(dialog.get(), &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { Paint(p); });
  dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
  return dialog;
}

void TQuickReport6::Preview(QWidget* parent) { CreatePreview(parent)->exec(); }

bool TQuickReport6::PrintToPdf(const QString& path) {
  ReplacingFile out(std::filesystem::path(QFile::encodeName(path).toStdString()));
  if (!out.Ok()) return false;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QFile::decodeName(out.TempPath().c_str()));
  if (!Paint(&printer)) return false;
  return out.Commit();
}

LocalMoment CurrentLocalMoment() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return {{d.year(), d.month(), d.day()}, {t.hour(), t.minute(), t.second()}, t.msec()};
}

}  // namespace rz47
