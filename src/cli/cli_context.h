// What every rz47cli command gets: the global options and the exit codes.
#pragma once

#include <string>
#include <vector>

namespace rz47::cli {

enum ExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,
  kExitData = 2,       // unreadable or malformed archive, file that cannot be written
  kExitDevice = 3,     // device failure or time-out
  kExitInterrupted = 130,
};

struct CliContext {
  std::vector<std::string> ports;  // --port PATH (repeatable), as given
  int lang = 0;                    // --lang ru|en
  int timeoutSeconds = 60;         // --timeout SEC
  bool quiet = false;              // --quiet: no progress output
};

// Writes a Windows-1251 text to standard error as one UTF-8 line.
void PrintError(const std::string& cp1251);
// Writes a UTF-8 usage complaint to standard error.
void PrintUsage(const std::string& utf8);

}  // namespace rz47::cli
