// Opens a 1,000,000-row archive in the main window as the command line does, and
// reports how long until the window has shown it and the resident memory then.
// Usage: archive_gui_open_bench [ROWS]   (offscreen unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "app/Unit1.h"
#include "archive/archive_file.h"
#include "realistic_table.h"

namespace {

// "VmRSS" (now) or "VmHWM" (peak) of this process, in MB.
double MemoryMb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  }
  return -1;
}

double CpuMs(std::clock_t since) { return 1000.0 * static_cast<double>(std::clock() - since) / CLOCKS_PER_SEC; }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int rows = argc > 1 ? std::stoi(argv[1]) : 1000000;
  QTemporaryDir dir;
  const QString path = dir.path() + "/big.rz4";
  // The file is made by a child process, so its table does not count in our memory.
  if (pid_t child = ::fork(); child == 0) {
    rz47::GridData grid;
    rz47::bench::FillRealisticTable(grid, rows);
    ::_exit(rz47::SaveGridToFile(grid, path.toStdString()).ok ? 0 : 1);
  } else {
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  }
  QApplication app(argc, argv);
  const double before = MemoryMb("VmRSS");
  rz47::TForm1 form;
  QElapsedTimer timer;
  timer.start();
  const std::clock_t cpuStart = std::clock();
  form.OpenFromCommandLine({path});
  const qint64 loaded = timer.elapsed();
  const double loadedCpu = CpuMs(cpuStart);
  form.show();
  app.processEvents();
  const qint64 shown = timer.elapsed();
  std::printf("rows %d: loaded in %lld ms (CPU %.0f ms), shown after %lld ms (CPU %.0f ms); "
              "RSS %.0f MB (before opening %.0f MB), peak %.0f MB\n",
              form.Grid().RowCount() - 1, static_cast<long long>(loaded), loadedCpu, static_cast<long long>(shown),
              CpuMs(cpuStart), MemoryMb("VmRSS"), before, MemoryMb("VmHWM"));
  return 0;
}
