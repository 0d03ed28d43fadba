#include "sim/gauge_faults.h"

#include <array>
#include <charconv>
#include <functional>
#include <string_view>

namespace rz47::sim {
namespace {

enum class Arg { None, Count };

struct FaultOption {
  std::string_view name;
  Arg arg;
  std::function<void(GaugeFaults&, std::size_t)> apply;
};

const std::array<FaultOption, 9>& Options() {
  static const std::array<FaultOption, 9> options{{
      {"--ignore-frames", Arg::Count, [](GaugeFaults& f, std::size_t n) { f.ignoreFirstFrames = n; }},
      {"--bad-archive-crc", Arg::Count, [](GaugeFaults& f, std::size_t n) { f.badCrcArchiveRecord = n; }},
      {"--wrong-echo-material", Arg::Count, [](GaugeFaults& f, std::size_t n) { f.wrongEchoMaterialRead = n; }},
      {"--wrong-echo-material-write", Arg::Count,
       [](GaugeFaults& f, std::size_t n) { f.wrongEchoMaterialWrite = n; }},
      {"--bad-params", Arg::None, [](GaugeFaults& f, std::size_t) { f.badParamsOnce = true; }},
      {"--old-firmware", Arg::None, [](GaugeFaults& f, std::size_t) { f.oldFirmware = true; }},
      {"--short-screen", Arg::Count, [](GaugeFaults& f, std::size_t n) { f.shortScreenBytes = n; }},
      {"--unplug-after", Arg::Count, [](GaugeFaults& f, std::size_t n) { f.unplugAfterFrames = n; }},
      {"--silent", Arg::None, [](GaugeFaults& f, std::size_t) { f.silent = true; }},
  }};
  return options;
}

std::optional<std::size_t> ParseCount(const std::string& text) {
  std::size_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> TakeFaultOptions(std::vector<std::string>& args, GaugeFaults& faults) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const FaultOption* option = nullptr;
    for (const FaultOption& o : Options()) {
      if (args[i] == o.name) option = &o;
    }
    if (option == nullptr) {
      rest.push_back(args[i]);
      continue;
    }
    std::size_t value = 0;
    if (option->arg == Arg::Count) {
      const auto parsed = i + 1 < args.size() ? ParseCount(args[i + 1]) : std::nullopt;
      if (!parsed) return std::string(option->name) + " needs a whole number";
      value = *parsed;
      ++i;
    }
    option->apply(faults, value);
  }
  args = std::move(rest);
  return std::nullopt;
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char ch : text) {
    if (ch == ' ' || ch == '\t' || ch == '\n') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word.push_back(ch);
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

}  // namespace rz47::sim
