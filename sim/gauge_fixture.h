// Gauge fixtures: a small text file of our own that replaces the demo content of the
// simulated gauge, so a test or a demonstration gets exactly the archive, materials,
// firmware date and display it needs.
//
// UTF-8 text, one entry per line, fields separated by TAB characters; blank lines and
// lines starting with '#' are ignored; CR LF line ends are accepted.
//
//   firmware      DATE                      version answer text, e.g. 21.04.2015
//   material      N  RUSSIAN  ENGLISH  SPEED
//                                            material N (0..12); names of at most 20
//                                            characters; speed 0..65535 m/s
//   material-field N  ru|en  HEX...          raw 21-byte name field of material N
//                                            (missing bytes are 0): for odd lengths
//   record        DD.MM.YYYY  HH:MM:SS  SERIES  NUMBER  MATERIAL  THICKNESS  SPEED
//                                            one archive record, in order; the date and
//                                            time fields are stored as written (0..255
//                                            each, year 2000..2255), so impossible dates
//                                            can be sent; THICKNESS is a decimal with a
//                                            point, or nan, inf, -inf; SPEED 0..4294967295
//   screen        clear | fill HEX           the display image: all dots off, or every
//                                            byte set to HEX
//   screen-text   X  Y  TEXT [SCALE]         draws TEXT at dot (X, Y)
//   screen-bytes  OFFSET  HEX...             sets image bytes from OFFSET on
//
// What the fixture does not give keeps the demo's value, except the archive: it holds
// exactly the fixture's records (none: an empty archive), in slots 0 to count - 1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/gauge_model.h"

namespace rz47::sim {

// The model a fixture text describes, or nothing with `error` set to a message that
// names the line ("line 3: ...").
std::optional<GaugeModel> ParseGaugeFixture(std::string_view text, std::string* error);
std::optional<GaugeModel> LoadGaugeFixture(const std::string& path, std::string* error);

}  // namespace rz47::sim
