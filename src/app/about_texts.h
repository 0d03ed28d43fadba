// What the About window shows, composed from the version information and the build
// date (UI-free; the window only puts the texts into its labels). Windows-1251.
#pragma once

#include <string>
#include <string_view>

#include "app/version_info.h"

namespace rz47 {

struct AboutTexts {
  std::string caption;
  std::string productName;
  // Placeholders laid out with the window; kept where information is missing.
  std::string version = "Version";
  std::string copyright = "Copyright";
  std::string comments;
  std::string label2;
};

// `info` null means the program has no version information.
AboutTexts ComposeAboutTexts(const VersionResource* info, std::string_view buildDate, int lang);

// "mailto:" + address + "?Subject=" + title, nothing escaped.
std::string MailTarget(std::string_view address, std::string_view applicationTitle);

}  // namespace rz47
