// rz47cli: the command-line program on the same core as rz47.
#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "platform/cp1251.h"
#include "platform/format_settings.h"
#include "platform/message_box.h"
#include "platform/qt/system_format_settings.h"
#include "platform/text_pair.h"

namespace rz47::cli {
namespace {

struct Command {
  std::string_view name;
  int (*run)(CliContext&, const Args&);
};

constexpr std::array<Command, 9> kCommands{{
    {"devices", CmdDevices},
    {"read", CmdRead},
    {"materials", CmdMaterials},
    {"write-materials", CmdWriteMaterials},
    {"screenshot", CmdScreenshot},
    {"sort", CmdSort},
    {"export", CmdExport},
    {"report", CmdReport},
    {"copy", CmdCopy},
}};

constexpr const char* kUsage =
    "usage: rz47cli [--port PATH]... [--lang ru|en] [--timeout SEC] [--quiet] COMMAND [ARGS]\n"
    "  devices | read -o OUT.rz4 [--merge IN.rz4] | materials | write-materials FILE\n"
    "  screenshot -o OUT.bmp [--ink #RRGGBB] [--paper #RRGGBB]\n"
    "  sort IN.rz4 COLUMN asc|desc -o OUT.rz4 | export IN.rz4 OUT.xlsx|OUT.xls\n"
    "  report IN.rz4 -o OUT.pdf | copy IN.rz4 [--block LEFT,TOP,RIGHT,BOTTOM]\n";

}  // namespace

void PrintError(const std::string& cp1251) {
  std::string line = Cp1251ToUtf8(cp1251) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

void PrintUsage(const std::string& utf8) {
  std::fprintf(stderr, "rz47cli: %s\n%s", utf8.c_str(), kUsage);
}

int Main(int argc, char** argv) {
  CliContext ctx;
  int i = 1;
  for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
    std::string_view opt = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (opt == "--quiet") {
      ctx.quiet = true;
    } else if (opt == "--port") {
      const char* v = value();
      if (v == nullptr) return PrintUsage("--port needs a path"), kExitUsage;
      ctx.ports.emplace_back(v);
    } else if (opt == "--lang") {
      const char* v = value();
      if (v == nullptr || (std::strcmp(v, "ru") != 0 && std::strcmp(v, "en") != 0)) {
        return PrintUsage("--lang takes ru or en"), kExitUsage;
      }
      ctx.lang = std::strcmp(v, "en") == 0 ? 1 : 0;
    } else if (opt == "--timeout") {
      const char* v = value();
      char* end = nullptr;
      long seconds = v != nullptr ? std::strtol(v, &end, 10) : 0;
      if (v == nullptr || *end != '\0' || seconds <= 0) {
        return PrintUsage("--timeout takes a positive number of seconds"), kExitUsage;
      }
      ctx.timeoutSeconds = static_cast<int>(seconds);
    } else if (opt == "--help") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    } else {
      return PrintUsage("unknown option " + std::string(opt)), kExitUsage;
    }
  }
  if (i >= argc) return PrintUsage("no command"), kExitUsage;
  std::string_view name = argv[i];
  Args args(argv + i + 1, argv + argc);
  LangIndex = static_cast<std::int8_t>(ctx.lang);
  InstallSystemFormatSettings();
  // Boxes the core would show become one line each on standard error, answered OK.
  InstallMessageBoxHandler([](const std::string& text, const std::string&, std::uint32_t) {
    PrintError(text);
    return kIdOk;
  });
  for (const Command& command : kCommands) {
    if (command.name == name) return command.run(ctx, args);
  }
  return PrintUsage("unknown command " + std::string(name)), kExitUsage;
}

}  // namespace rz47::cli

int main(int argc, char** argv) {
  // Offscreen: the CLI renders reports and pictures without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return rz47::cli::Main(argc, argv);
}
