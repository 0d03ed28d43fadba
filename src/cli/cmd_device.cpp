// rz47cli device commands.
#include "cli/commands.h"

namespace rz47::cli {

int CmdDevices(CliContext&, const Args&) { return PrintUsage("devices is not built yet"), kExitUsage; }
int CmdRead(CliContext&, const Args&) { return PrintUsage("read is not built yet"), kExitUsage; }
int CmdMaterials(CliContext&, const Args&) { return PrintUsage("materials is not built yet"), kExitUsage; }
int CmdWriteMaterials(CliContext&, const Args&) {
  return PrintUsage("write-materials is not built yet"), kExitUsage;
}
int CmdScreenshot(CliContext&, const Args&) { return PrintUsage("screenshot is not built yet"), kExitUsage; }

}  // namespace rz47::cli
