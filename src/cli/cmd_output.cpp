// rz47cli export and report.
#include "cli/commands.h"

namespace rz47::cli {

int CmdExport(CliContext&, const Args&) { return PrintUsage("export is not built yet"), kExitUsage; }
int CmdReport(CliContext&, const Args&) { return PrintUsage("report is not built yet"), kExitUsage; }

}  // namespace rz47::cli
