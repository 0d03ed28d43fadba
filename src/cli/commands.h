// The rz47cli commands. Each takes the arguments after its name and returns the
// program's exit code.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_context.h"

namespace rz47::cli {

using Args = std::vector<std::string>;

// Table and archive commands (cmd_table.cpp).
int CmdSort(CliContext& ctx, const Args& args);
int CmdCopy(CliContext& ctx, const Args& args);

// Device commands (cmd_device.cpp).
int CmdDevices(CliContext& ctx, const Args& args);
int CmdRead(CliContext& ctx, const Args& args);
int CmdMaterials(CliContext& ctx, const Args& args);
int CmdWriteMaterials(CliContext& ctx, const Args& args);
int CmdScreenshot(CliContext& ctx, const Args& args);

// Output commands (cmd_output.cpp).
int CmdExport(CliContext& ctx, const Args& args);
int CmdReport(CliContext& ctx, const Args& args);

}  // namespace rz47::cli
