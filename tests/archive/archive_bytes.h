// Builds archive file bytes field by field, independently of the writer under test,
// so a misread layout fails a test instead of agreeing with itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rz47::test {

class ArchiveBytes {
 public:
  ArchiveBytes& Int(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<char>((u >> shift) & 0xFF));
    return *this;
  }
  ArchiveBytes& Cell(std::string_view text) {
    Int(static_cast<std::int32_t>(text.size()));
    bytes_.append(text);
    return *this;
  }
  ArchiveBytes& Raw(std::string_view raw) {
    bytes_.append(raw);
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace rz47::test
