// rz47cli sort and copy.
#include "cli/commands.h"

namespace rz47::cli {

int CmdSort(CliContext&, const Args&) { return PrintUsage("sort is not built yet"), kExitUsage; }
int CmdCopy(CliContext&, const Args&) { return PrintUsage("copy is not built yet"), kExitUsage; }

}  // namespace rz47::cli
