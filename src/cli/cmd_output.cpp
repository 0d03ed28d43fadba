// rz47cli export and report: the spreadsheet export and the printed report of an
// archive file's table, with the same texts and rules as the window's commands.
#include <unistd.h>

#include <QFile>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/main_texts.h"
#include "archive/archive_file.h"
#include "cli/commands.h"
#include "output/qt/quick_report6.h"
#include "output/workbook_export.h"
#include "platform/message_box.h"
#include "table/columns.h"

namespace rz47::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

// Ctrl+C and SIGTERM cancel the export (no file is left behind) instead of
// killing the program halfway; the previous handlers come back afterwards.
class InterruptCancels {
 public:
  InterruptCancels() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
  }
  ~InterruptCancels() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  InterruptCancels(const InterruptCancels&) = delete;
  InterruptCancels& operator=(const InterruptCancels&) = delete;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

// Export progress on standard error: a percentage redrawn in place on a terminal,
// a line per tenth otherwise, nothing with --quiet.
class ProgressLine {
 public:
  explicit ProgressLine(bool quiet) : quiet_(quiet), terminal_(isatty(STDERR_FILENO) == 1) {}
  ~ProgressLine() {
    if (drawn_) std::fputc('\n', stderr);
  }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(int permille) {
    const int percent = permille / 10;
    if (quiet_ || percent == percent_) return;
    const bool newTenth = percent / 10 != percent_ / 10;
    percent_ = percent;
    if (terminal_) {
      std::fprintf(stderr, "\r%3d%%", percent);
      std::fflush(stderr);
      drawn_ = true;
    } else if (newTenth) {
      std::fprintf(stderr, "%d%%\n", percent);
    }
  }

 private:
  const bool quiet_;
  const bool terminal_;
  int percent_ = -1;
  bool drawn_ = false;
};

void PrintUtf8Line(const std::string& utf8) {
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

// The table of the archive file with the headings of the run's language.
bool LoadTable(GridData& grid, const std::string& path, int lang) {
  const FileResult loaded = LoadGridFromFile(grid, path);
  if (!loaded) {
    PrintUtf8Line(loaded.message);
    return false;
  }
  WriteHeadings(grid, lang);
  return true;
}

}  // namespace

int CmdExport(CliContext& ctx, const Args& args) {
  if (args.size() != 2 || args[0].starts_with("-") || args[1].starts_with("-")) {
    return PrintUsage("export takes IN.rz4 OUT.xlsx|OUT.xls"), kExitUsage;
  }
  GridData grid;
  if (!LoadTable(grid, args[0], ctx.lang)) return kExitData;
  if (grid.IsEmpty()) {
    ShowMessageBox(Text(texts::kArchiveNotRead, ctx.lang), Text(texts::kError, ctx.lang), kMbStopOk);
    return kExitData;
  }

  ExportResult result;
  {
    InterruptCancels cancels;
    ProgressLine progress(ctx.quiet);
    result = ExportWorkbook(grid, Text(texts::kArchiveTitle, ctx.lang), args[1], [&](int permille) {
      progress.Show(permille);
      return interrupted == 0;
    });
  }
  switch (result.status) {
    case ExportStatus::Ok:
      return kExitOk;
    case ExportStatus::Cancelled:
      return kExitInterrupted;
    case ExportStatus::Failed:
      break;
  }
  ShowMessageBox(Text(texts::kExportError, ctx.lang), Text(texts::kWarning, ctx.lang), kMbStopOk);
  PrintUtf8Line(result.detail);
  return kExitData;
}

int CmdReport(CliContext& ctx, const Args& args) {
  std::string in, out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size() && out.empty()) {
      out = args[++i];
    } else if (in.empty() && !args[i].starts_with("-")) {
      in = args[i];
    } else {
      in.clear();
      break;
    }
  }
  if (in.empty() || out.empty()) return PrintUsage("report takes IN.rz4 -o OUT.pdf"), kExitUsage;
  GridData grid;
  if (!LoadTable(grid, in, ctx.lang)) return kExitData;
  // As in the window, any table prints, an empty one as its heading line.
  TQuickReport6 report(grid, Text(texts::kArchiveTitle, ctx.lang), ctx.lang, CurrentLocalMoment());
  if (!report.PrintToPdf(QFile::decodeName(out.c_str()))) {
    PrintUtf8Line(out + ": cannot write the PDF file");
    return kExitData;
  }
  return kExitOk;
}

}  // namespace rz47::cli
