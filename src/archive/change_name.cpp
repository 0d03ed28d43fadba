#include "archive/change_name.h"

#include <cstdint>

#include "platform/format_settings.h"

namespace rz47 {

std::string ChangeName(std::string_view name) {
  std::string stem;
  stem.reserve(name.size());
  for (std::size_t at = 0; at < name.size();) {
    if (name.substr(at, kArchiveExtension.size()) == kArchiveExtension) {
      at += kArchiveExtension.size();
    } else {
      stem += name[at++];
    }
  }
  std::size_t digitsFrom = stem.size();
  while (digitsFrom > 0 && stem[digitsFrom - 1] >= '0' && stem[digitsFrom - 1] <= '9') --digitsFrom;
  const std::string digits = stem.substr(digitsFrom);
  stem.resize(digitsFrom);
  if (digits.empty()) return stem + " 0" + std::string(kArchiveExtension);
  // The step is taken in 64 bits: 2147483647 is followed by 2147483648, not a
  // negative number; only a name that already lies beyond 32 bits fails.
  const std::int64_t next = static_cast<std::int64_t>(ParseInt32(digits)) + 1;
  return stem + std::to_string(next) + std::string(kArchiveExtension);
}

}  // namespace rz47
