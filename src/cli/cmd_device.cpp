// rz47cli device commands: devices, read, materials, write-materials, screenshot.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_file.h"
#include "cli/commands.h"
#include "cli/device_job.h"
#include "device/link_state.h"
#include "device/materials.h"
#include "device/screen_raster.h"
#include "device/session_texts.h"
#include "platform/atomic_file.h"
#include "platform/cp1251.h"
#include "platform/link/ft_api.h"
#include "platform/link/serial_port_list.h"
#include "platform/text_pair.h"
#include "sim/link_selection.h"
#include "table/archive_count.h"
#include "table/columns.h"
#include "table/grid_data.h"

namespace rz47::cli {
namespace {

constexpr int kMaterialsCols = 3;
constexpr int kMaterialsRows = 14;

void PrintUtf8Line(std::FILE* out, const std::string& utf8) {
  const std::string line = utf8 + "\n";
  std::fwrite(line.data(), 1, line.size(), out);
}

// Options of the form "NAME VALUE" among `args`; anything else is refused.
struct Options {
  std::vector<std::pair<std::string, std::string>> values;
  std::vector<std::string> positional;
  bool bad = false;

  std::optional<std::string> Get(std::string_view name) const {
    for (const auto& [key, value] : values) {
      if (key == name) return value;
    }
    return std::nullopt;
  }
};

Options ParseOptions(const Args& args, std::initializer_list<std::string_view> names) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool known = false;
    for (std::string_view name : names) known = known || arg == name;
    if (known) {
      if (i + 1 >= args.size() || options.Get(arg)) options.bad = true;
      else options.values.emplace_back(arg, args[++i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      options.bad = true;
    } else {
      options.positional.push_back(arg);
    }
  }
  return options;
}

void InstallBackend(const CliContext& ctx) { InstallLinkBackend(ctx.ports); }

bool SaveFile(const std::string& path, std::string_view bytes) {
  FileResult result = WriteFileAtomically(path, bytes);
  if (!result) PrintUtf8Line(stderr, result.message);
  return result.ok;
}

// "#RRGGBB" (the '#' may be left out).
std::optional<RgbColor> ParseColor(std::string_view text) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  std::uint8_t channels[3];
  for (int i = 0; i < 3; ++i) {
    const std::string pair(text.substr(2 * i, 2));
    char* end = nullptr;
    const long value = std::strtol(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2 || pair[0] == '-' || pair[0] == '+' || pair[0] == ' ') return std::nullopt;
    channels[i] = static_cast<std::uint8_t>(value);
  }
  return RgbColor{channels[0], channels[1], channels[2]};
}

// One material as the file for write-materials gives it.
struct MaterialLine {
  std::string name;  // Windows-1251
  std::string speed;
};

// FILE: 13 lines "number<TAB>name<TAB>speed" in UTF-8 (CR LF allowed, a last empty
// line ignored). On a refusal the reason is written and nullopt returned.
std::optional<std::vector<MaterialLine>> ReadMaterialsFile(const std::string& path) {
  std::string contents;
  if (FileResult read = ReadWholeFile(path, contents); !read) {
    PrintUtf8Line(stderr, read.message);
    return std::nullopt;
  }
  std::vector<std::string> lines;
  std::istringstream in(contents);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::vector<MaterialLine> materials;
  for (const std::string& line : lines) {
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos || line.find('\t', tab2 + 1) != std::string::npos) {
      materials.clear();
      break;
    }
    materials.push_back({Utf8ToCp1251(line.substr(tab1 + 1, tab2 - tab1 - 1)), line.substr(tab2 + 1)});
  }
  if (materials.size() != static_cast<std::size_t>(kGaugeMaterialCount)) {
    PrintUtf8Line(stderr, "rz47cli: " + path + " must hold 13 lines number<TAB>name<TAB>speed");
    return std::nullopt;
  }
  for (int j = 0; j < kGaugeMaterialCount; ++j) {
    if (!ParseMaterialSpeed(materials[j].speed)) {
      PrintError(Text(texts::kBadSpeedRow) + std::to_string(j + 1) + Text(texts::kBadSpeedRest));
      return std::nullopt;
    }
  }
  return materials;
}

// The materials job (read) into `grid`, as the materials window starts it.
JobOutcome ReadMaterials(const CliContext& ctx, GridData& grid) {
  NeedMaterials = 0;
  return RunDeviceJob(ctx, JobReadMaterials, &grid, nullptr);
}

}  // namespace

int CmdDevices(CliContext& ctx, const Args& args) {
  if (!args.empty()) return PrintUsage("devices takes no arguments"), kExitUsage;
  InstallBackend(ctx);
  DWORD count = 0;
  if (FT_CreateDeviceInfoList(&count) != FT_OK) {
    PrintError(Text(texts::kStatusTexts[StatusNoDriver].label));
    return kExitDevice;
  }
  std::vector<FT_DEVICE_LIST_INFO_NODE> nodes(count);
  if (count > 0 && FT_GetDeviceInfoList(nodes.data(), &count) != FT_OK) {
    PrintError(Text(texts::kStatusTexts[StatusNoLink].label));
    return kExitDevice;
  }
  // Ports of the serial list, matched to the nodes by their description; the
  // simulated gauge has none.
  std::vector<std::string> named = ctx.ports;
  if (const char* env = std::getenv("RZ47_PORT")) {
    for (const std::string& port : SplitPortList(env)) named.push_back(port);
  }
  const std::vector<SerialPortEntry> ports = BuildSerialPortList(EnumerateUsbSerialPorts(), named);
  for (DWORD i = 0; i < count && i < nodes.size(); ++i) {
    const std::string description(nodes[i].Description, strnlen(nodes[i].Description, sizeof nodes[i].Description));
    std::string port = "-";
    if (i < ports.size() && ports[i].description == description) port = ports[i].path;
    PrintUtf8Line(stdout, std::to_string(i) + "\t" + Cp1251ToUtf8(description) + "\t" + port);
  }
  return kExitOk;
}

int CmdRead(CliContext& ctx, const Args& args) {
  const Options options = ParseOptions(args, {"-o", "--merge"});
  if (options.bad || !options.positional.empty() || !options.Get("-o")) {
    return PrintUsage("read takes -o OUT.rz4 [--merge IN.rz4]"), kExitUsage;
  }
  GridData grid(kStandardColCount, kStartRowCount);
  if (const auto merge = options.Get("--merge")) {
    if (FileResult loaded = LoadGridFromFile(grid, *merge); !loaded) {
      PrintUtf8Line(stderr, loaded.message);
      return kExitData;
    }
  }
  WriteHeadings(grid, ctx.lang);
  InstallBackend(ctx);
  NeedMaterials = 1;  // a run starts without the gauge's material names
  const JobOutcome outcome = RunDeviceJob(ctx, JobReadArchive, &grid, nullptr);
  if (!outcome.completed) return ReportFailedJob(ctx, outcome);
  if (ArchiveCount == 0) PrintError(Text(texts::kStatusTexts[StatusNoData].label));
  FileResult saved = SaveGridToFile(grid, *options.Get("-o"));
  if (!saved) {
    PrintUtf8Line(stderr, saved.message);
    return kExitData;
  }
  return kExitOk;
}

int CmdMaterials(CliContext& ctx, const Args& args) {
  if (!args.empty()) return PrintUsage("materials takes no arguments"), kExitUsage;
  InstallBackend(ctx);
  GridData grid(kMaterialsCols, kMaterialsRows);
  const JobOutcome outcome = ReadMaterials(ctx, grid);
  if (!outcome.completed) return ReportFailedJob(ctx, outcome);
  for (int row = 1; row < kMaterialsRows; ++row) {
    PrintUtf8Line(stdout, Cp1251ToUtf8(grid.CellString(0, row)) + "\t" + Cp1251ToUtf8(grid.CellString(1, row)) +
                              "\t" + Cp1251ToUtf8(grid.CellString(2, row)));
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitData;
}

int CmdWriteMaterials(CliContext& ctx, const Args& args) {
  if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
    return PrintUsage("write-materials takes FILE"), kExitUsage;
  }
  // The file is checked before anything goes to the gauge.
  const auto materials = ReadMaterialsFile(args[0]);
  if (!materials) return kExitData;
  InstallBackend(ctx);
  // As in the materials window: read the gauge's table first, edit, write it back.
  GridData grid(kMaterialsCols, kMaterialsRows);
  const JobOutcome read = ReadMaterials(ctx, grid);
  if (!read.completed) return ReportFailedJob(ctx, read);
  for (int j = 0; j < kGaugeMaterialCount; ++j) {
    grid.SetCell(1, j + 1, (*materials)[j].name);
    grid.SetCell(2, j + 1, (*materials)[j].speed);
  }
  NeedMaterials = 1;
  const JobOutcome written = RunDeviceJob(ctx, JobWriteMaterials, &grid, nullptr);
  if (!written.completed) return ReportFailedJob(ctx, written);
  return kExitOk;
}

int CmdScreenshot(CliContext& ctx, const Args& args) {
  const Options options = ParseOptions(args, {"-o", "--ink", "--paper"});
  if (options.bad || !options.positional.empty() || !options.Get("-o")) {
    return PrintUsage("screenshot takes -o OUT.bmp [--ink #RRGGBB] [--paper #RRGGBB]"), kExitUsage;
  }
  const auto ink = ParseColor(options.Get("--ink").value_or("#000000"));
  const auto paper = ParseColor(options.Get("--paper").value_or("#FFFFFF"));
  if (!ink || !paper) return PrintUsage("colours are written #RRGGBB"), kExitUsage;
  InstallBackend(ctx);
  const JobOutcome outcome = RunDeviceJob(ctx, JobReadScreen, nullptr, ScreenImage.data());
  if (!outcome.completed) return ReportFailedJob(ctx, outcome);
  const std::vector<std::uint8_t> bmp = WriteBmp(FramedScreenRaster(ScreenImage), *ink, *paper);
  const std::string_view bytes(reinterpret_cast<const char*>(bmp.data()), bmp.size());
  return SaveFile(*options.Get("-o"), bytes) ? kExitOk : kExitData;
}

}  // namespace rz47::cli
