// ChangeName: the archive name that follows a given one, for proposing a file name
// that does not exist yet ("Arhive 0.rz4" -> "Arhive 1.rz4", "Object.rz4" ->
// "Object 0.rz4"). Works on the name's bytes: ".rz4" and the digits are ASCII, so a
// Windows-1251 and a UTF-8 name step alike. Pure; any thread.
#pragma once

#include <string>
#include <string_view>

namespace rz47 {

inline constexpr std::string_view kArchiveExtension = ".rz4";

// Removes every ".rz4", then steps the trailing decimal number (or appends " 0") and
// puts ".rz4" back. A trailing number beyond 32-bit signed throws EConvertError.
std::string ChangeName(std::string_view name);

}  // namespace rz47
