// rz47cli sort and copy: the table commands on an archive file.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_file.h"
#include "cli/commands.h"
#include "platform/convert_error.h"
#include "platform/cp1251.h"
#include "table/archive_count.h"
#include "table/columns.h"
#include "table/copy_text.h"
#include "table/sort_grid.h"

namespace rz47::cli {
namespace {

void PrintUtf8Error(const std::string& utf8) {
  std::string line = utf8 + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "LEFT,TOP,RIGHT,BOTTOM", four whole numbers.
std::optional<GridRect> ParseBlock(std::string_view text) {
  int values[4];
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = i < 3 ? text.find(',') : text.size();
    if (comma == std::string_view::npos) return std::nullopt;
    std::optional<int> value = ParseNumber(text.substr(0, comma));
    if (!value) return std::nullopt;
    values[i] = *value;
    text.remove_prefix(i < 3 ? comma + 1 : comma);
  }
  return GridRect{values[0], values[1], values[2], values[3]};
}

// Positional arguments and the value of "-o" (or "--block"), in any order.
struct ParsedArgs {
  std::vector<std::string> positional;
  std::optional<std::string> option;
  bool bad = false;
};

ParsedArgs SplitArgs(const Args& args, std::string_view optionName) {
  ParsedArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == optionName) {
      if (i + 1 >= args.size() || parsed.option) parsed.bad = true;
      else parsed.option = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      parsed.bad = true;
    } else {
      parsed.positional.push_back(args[i]);
    }
  }
  return parsed;
}

bool Load(GridData& grid, const std::string& path) {
  FileResult result = LoadGridFromFile(grid, path);
  if (!result) PrintUtf8Error(result.message);
  return result.ok;
}

}  // namespace

int CmdSort(CliContext&, const Args& args) {
  ParsedArgs parsed = SplitArgs(args, "-o");
  if (parsed.bad || parsed.positional.size() != 3 || !parsed.option) {
    return PrintUsage("sort takes IN.rz4 COLUMN asc|desc -o OUT.rz4"), kExitUsage;
  }
  const std::optional<int> column = ParseNumber(parsed.positional[1]);
  if (!column || *column < 0) return PrintUsage("COLUMN is a column number from 0"), kExitUsage;
  const std::string& order = parsed.positional[2];
  if (order != "asc" && order != "desc") return PrintUsage("the order is asc or desc"), kExitUsage;

  GridData grid;
  if (!Load(grid, parsed.positional[0])) return kExitData;
  if (*column >= grid.ColCount()) {
    return PrintUsage("the table has columns 0 to " + std::to_string(grid.ColCount() - 1)), kExitUsage;
  }
  // As in the window, an empty table is not sorted (its empty cells hold no keys).
  if (!grid.IsEmpty()) {
    try {
      SortGrid(grid, *column, order == "asc" ? 1 : -1);
    } catch (const EConvertError& error) {
      PrintUtf8Error(error.what());
      return kExitData;
    }
  }
  FileResult saved = SaveGridToFile(grid, *parsed.option);
  if (!saved) {
    PrintUtf8Error(saved.message);
    return kExitData;
  }
  return kExitOk;
}

int CmdCopy(CliContext& ctx, const Args& args) {
  ParsedArgs parsed = SplitArgs(args, "--block");
  if (parsed.bad || parsed.positional.size() != 1) {
    return PrintUsage("copy takes IN.rz4 [--block LEFT,TOP,RIGHT,BOTTOM]"), kExitUsage;
  }
  std::optional<GridRect> block;
  if (parsed.option) {
    block = ParseBlock(*parsed.option);
    if (!block) return PrintUsage("--block takes LEFT,TOP,RIGHT,BOTTOM"), kExitUsage;
  }

  GridData grid;
  if (!Load(grid, parsed.positional[0])) return kExitData;
  WriteHeadings(grid, ctx.lang);
  // The file's records stand for the archive the window would have loaded.
  ArchiveCount = static_cast<std::uint32_t>(grid.RowCount() - 1);

  std::optional<std::string> text;
  if (block) {
    const auto inside = [](int value, int count) { return value >= 0 && value < count; };
    if (!inside(block->left, grid.ColCount()) || !inside(block->right, grid.ColCount()) ||
        !inside(block->top, grid.RowCount()) || !inside(block->bottom, grid.RowCount())) {
      return PrintUsage("the block must lie in the table: columns 0 to " + std::to_string(grid.ColCount() - 1) +
                        ", rows 0 to " + std::to_string(grid.RowCount() - 1)),
             kExitUsage;
    }
    grid.SetSelection(*block);
    text = ACopyBlockTableExecute(grid, ctx.lang);
  } else {
    text = ACopyTableExecute(grid, ctx.lang);
  }
  // A refusal has been written to standard error by the message box handler.
  if (!text) return kExitData;
  const std::string utf8 = Cp1251ToUtf8(*text);
  if (std::fwrite(utf8.data(), 1, utf8.size(), stdout) != utf8.size() || std::fflush(stdout) != 0) {
    PrintUtf8Error("rz47cli: cannot write to standard output");
    return kExitData;
  }
  return kExitOk;
}

}  // namespace rz47::cli
