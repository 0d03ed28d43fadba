// The program's version information, compiled in: a small stand-in for a version
// resource that is queried by path ("\VarFileInfo\Translation",
// "\StringFileInfo\<key>\FileVersion"), and the build date as the compiler gives it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace rz47 {

struct VersionResource {
  // Path -> value. The translation value holds little-endian 16-bit words:
  // language identifier, code page. String values are Windows-1251.
  std::map<std::string, std::string, std::less<>> values;

  std::optional<std::string> Query(std::string_view path) const;
};

// This build's information: file version 1.0.0.0, the copyright notice, one
// translation (Russian, Windows-1251).
const VersionResource& ProgramVersionResource();

// "Mmm dd yyyy" (day blank-padded), the date this program was built.
std::string_view ProgramBuildDate();

// The key of a translation entry: language << 16 | code page as 8 upper-case hex
// digits ("041904E3").
std::string TranslationKey(unsigned language, unsigned codePage);

}  // namespace rz47
