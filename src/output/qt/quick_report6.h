// TQuickReport6: the printed report of the measurement table. The constructor
// builds everything (title, heading line, body lines) from the table as it is at
// that moment; afterwards the report needs no further input and may outlive any
// change to the table.
//
// Pages are A4 portrait laid out in millimetres (output/report_layout.h): the page
// header carries the title (sans 10 pt bold) and the heading line, the body one
// monospaced 8 pt line per band, the page footer the page number. Every rendering
// pass (preview, print, PDF) paints all pages and takes its texts from the two
// print handlers, so repeated passes show the same pages.
// GUI thread (or the CLI's main thread).
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "output/report_lines.h"
#include "platform/text_pair.h"
#include "table/grid_data.h"

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace rz47 {

// Caption of the preview window and name of the print job.
inline constexpr TextPair kReportTitle{"Предпросмотр печати", "Print Preview"};

class TQuickReport6 : public QObject {
  Q_OBJECT
 public:
  // `titlePrefixCp1251` starts the title label ("Archive of measurements " or its
  // Russian twin), `lang` picks the report title, `moment` is the time of printing.
  TQuickReport6(const GridData& grid, std::string_view titlePrefixCp1251, int lang, const LocalMoment& moment,
                QObject* owner = nullptr);

  // The report title (preview caption, print job name).
  QString ReportTitle() const { return reportTitle_; }
  // The title label `QRLabel1`.
  QString TitleCaption() const { return titleCaption_; }
  int BuiltLineCount() const { return lines_.BuiltLineCount(); }
  int PageCount() const;

  // Print handlers: the text the body-line field `QRExpr1` and the heading-line
  // field `QRExpr2` print next.
  void QRExpr1Print(QString& value);
  void QRExpr2Print(QString& value);

  // One full pass over the pages onto `printer` (page size and margins are set
  // here). False when the printer cannot be painted on.
  bool Paint(QPrinter* printer);
  // The print preview of this report, not yet shown: maximised, titled with the
  // report title, painting its pages from this report (which must outlive it).
  std::unique_ptr<QPrintPreviewDialog> CreatePreview(QWidget* parent);
  // Shows the modal print preview; returns when it is closed.
  void Preview(QWidget* parent);
  // Renders the report to a PDF file, written under a temporary name and renamed
  // into place. False when the file cannot be written.
  bool PrintToPdf(const QString& path);

 private:
  ReportBodyLines lines_;
  QString reportTitle_;
  QString titleCaption_;
};

// The local date and time now.
LocalMoment CurrentLocalMoment();

}  // namespace rz47
