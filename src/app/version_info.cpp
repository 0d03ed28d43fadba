#include "app/version_info.h"

#include <cstdio>

#include "platform/cp1251.h"

namespace rz47 {

std::optional<std::string> VersionResource::Query(std::string_view path) const {
  auto it = values.find(path);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::string TranslationKey(unsigned language, unsigned codePage) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", ((language & 0xFFFFu) << 16) | (codePage & 0xFFFFu));
  return buf;
}

const VersionResource& ProgramVersionResource() {
  static const VersionResource resource = [] {
    VersionResource r;
    constexpr unsigned kRussian = 0x0419, kWindows1251 = 0x04E3;
    r.values["\\VarFileInfo\\Translation"] = std::string{
        static_cast<char>(kRussian & 0xFF), static_cast<char>(kRussian >> 8),
        static_cast<char>(kWindows1251 & 0xFF), static_cast<char>(kWindows1251 >> 8)};
    const std::string base = "\\StringFileInfo\\" + TranslationKey(kRussian, kWindows1251) + "\\";
    r.values[base + "FileVersion"] = "1.0.0.0";
    r.values[base + "LegalCopyright"] = Utf8ToCp1251("© 2014-2026 RZ-4.7 team");
    r.values[base + "ProductName"] = Utf8ToCp1251("РЗ-4.7");
    return r;
  }();
  return resource;
}

std::string_view ProgramBuildDate() { return __DATE__; }

}  // namespace rz47
