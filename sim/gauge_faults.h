// Faults the simulated gauge can be told to show, for tests of the program's
// error paths. "Once" faults fire the first time their condition arises and are then
// spent; the others hold for the whole run.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace rz47::sim {

struct GaugeFaults {
  // The first N well-formed command frames get no answer (a gauge still waking up).
  std::size_t ignoreFirstFrames = 0;
  // The first answer for archive record j carries a wrong CRC (once).
  std::optional<std::size_t> badCrcArchiveRecord;
  // The first material-read answer for material j echoes a wrong index (once).
  std::optional<std::size_t> wrongEchoMaterialRead;
  // The first material-write answer for material j echoes a wrong index and the
  // record is not stored (once).
  std::optional<std::size_t> wrongEchoMaterialWrite;
  // The first parameter block carries a wrong CRC (once).
  bool badParamsOnce = false;
  // The version answer carries "09.06.2014", a day before the oldest date the program
  // accepts, whatever the model's firmware date.
  bool oldFirmware = false;
  // The screen answer stops after this many of its 1,024 image bytes.
  std::optional<std::size_t> shortScreenBytes;
  // After N command frames the gauge is unplugged: the (N+1)-th frame and every later
  // call fails.
  std::optional<std::size_t> unplugAfterFrames;
  // The gauge answers nothing at all.
  bool silent = false;
};

constexpr const char* kOldFirmwareDate = "09.06.2014";

// Parses fault options as the simulator's command line and RZ47_SIM_FAULTS give them:
//   --ignore-frames N   --bad-archive-crc J   --wrong-echo-material J
//   --wrong-echo-material-write J   --bad-params   --old-firmware
//   --short-screen N   --unplug-after N   --silent
// Consumes the options it knows from `args` (leaving the rest in order) and returns
// an error text for a malformed one, or nothing.
std::optional<std::string> TakeFaultOptions(std::vector<std::string>& args, GaugeFaults& faults);

// Splits a blank-separated option string (RZ47_SIM_FAULTS) into words.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace rz47::sim
