#include "workbook_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace rz47::testing {
namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs the script and returns its standard output; errors fail the test.
std::string RunReader(const std::vector<std::string>& args) {
  std::string command = "/usr/bin/python3 ";
  command += Quote(RZ47_OUTPUT_TEST_DIR "/read_workbook.py");
  for (const std::string& a : args) {
    command += ' ';
    command += Quote(a);
  }
  command += " 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string output;
  std::array<char, 65536> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) output.append(buf.data(), n);
  const int status = ::pclose(pipe);
  if (status != 0) ADD_FAILURE() << "reader failed: " << command << "\n" << output.substr(0, 4000);
  return output;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

std::vector<ReadSheet> ParseSheets(const std::string& output) {
  std::vector<ReadSheet> sheets;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f = SplitTabs(line);
    if (f[0] == "sheet" && f.size() == 4) {
      sheets.push_back({f[1], std::stoi(f[2]), std::stoi(f[3]), {}});
    } else if (f[0] == "cell" && f.size() >= 6 && !sheets.empty()) {
      // A value may itself hold no tabs (they are escaped), so f has 6 fields.
      sheets.back().cells.push_back({std::stoi(f[1]), std::stoi(f[2]), f[3], f[4] == "1", Unescape(f[5])});
    } else {
      ADD_FAILURE() << "unexpected reader line: " << line;
    }
  }
  return sheets;
}

}  // namespace

std::vector<ReadSheet> ReadWorkbookCells(const std::filesystem::path& file) {
  return ParseSheets(RunReader({"cells", file.string()}));
}

std::vector<ReadSheet> ReadWorkbookSummary(const std::filesystem::path& file) {
  return ParseSheets(RunReader({"summary", file.string()}));
}

std::vector<ReadColumns> ReadWorkbookColumns(const std::filesystem::path& file, int count) {
  std::vector<ReadColumns> sheets;
  std::istringstream in(RunReader({"columns", file.string(), std::to_string(count)}));
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f = SplitTabs(line);
    if (f[0] == "sheet" && f.size() == 2) {
      sheets.push_back({f[1], {}});
    } else if (f[0] == "col" && f.size() == 4 && !sheets.empty()) {
      ReadColumn col;
      col.present = f[2] != "none";
      col.width = col.present ? std::stod(f[2]) : 0.0;
      col.centred = f[3] == "1";
      sheets.back().columns.push_back(col);
    } else {
      ADD_FAILURE() << "unexpected reader line: " << line;
    }
  }
  return sheets;
}

std::string ReadCompoundStream(const std::filesystem::path& file, const std::string& name) {
  const std::filesystem::path target = file.string() + ".stream";
  RunReader({"stream", file.string(), name, target.string()});
  std::ifstream in(target, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(target);
  return bytes;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "rz47-output-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempFolder::Files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace rz47::testing
