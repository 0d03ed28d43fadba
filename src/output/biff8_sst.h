// The shared string table of a BIFF8 workbook: every distinct cell text once, cells
// refer to it by index. Texts get their index in the order they are first added.
//
// Serialised as one SST record and as many CONTINUE records as the texts need
// (8224 bytes of body each). A text that does not fit the rest of a record is split
// between characters, never inside its header or a character; its continuation
// starts with a fresh flags byte. The EXTSST record that follows lets a reader jump
// into the table: it points at every dsst-th text.
//
// The table keeps views of the added texts: they must outlive it. One thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rz47::biff8 {

class SharedStrings {
 public:
  // Index of `cp1251`, added if new; each call counts one cell reference.
  std::uint32_t Add(std::string_view cp1251);

  std::uint32_t UniqueCount() const { return static_cast<std::uint32_t>(texts_.size()); }
  std::uint32_t ReferenceCount() const { return references_; }
  void Reserve(std::size_t texts);

  // SST, its CONTINUE records and EXTSST, as they go into the stream at
  // `streamOffset` (EXTSST holds absolute stream positions).
  std::string Serialise(std::uint32_t streamOffset) const;

 private:
  std::vector<std::string_view> texts_;
  std::unordered_map<std::string_view, std::uint32_t> index_;
  std::uint32_t references_ = 0;
};

}  // namespace rz47::biff8
