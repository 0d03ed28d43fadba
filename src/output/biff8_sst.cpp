#include "output/biff8_sst.h"

#include <algorithm>
#include <stdexcept>

#include "output/biff8_records.h"

namespace rz47::biff8 {
namespace {

// Fills record bodies and closes each one (type SST for the first, CONTINUE for
// the rest) when the next piece would not fit.
class RecordSplitter {
 public:
  explicit RecordSplitter(std::string& out) : out_(out) {}

  std::size_t Room() const { return kMaxRecordBody - body_.size(); }
  void Append(std::string_view bytes) { body_.append(bytes); }
  // Stream offset of the next byte appended, and its offset from the start of its
  // record's header.
  std::size_t NextPos() const { return out_.size() + 4 + body_.size(); }
  std::uint16_t NextInRecord() const { return static_cast<std::uint16_t>(4 + body_.size()); }

  void Flush() {
    PutRecord(out_, first_ ? kSst : kContinue, body_);
    first_ = false;
    body_.clear();
  }

 private:
  std::string& out_;
  std::string body_;
  bool first_ = true;
};

struct Bucket {
  std::uint32_t streamPos;
  std::uint16_t inRecord;
};

}  // namespace

void SharedStrings::Reserve(std::size_t texts) {
  texts_.reserve(texts);
  index_.reserve(texts);
}

std::uint32_t SharedStrings::Add(std::string_view cp1251) {
  ++references_;
  auto [it, added] = index_.try_emplace(cp1251, static_cast<std::uint32_t>(texts_.size()));
  if (added) texts_.push_back(cp1251);
  return it->second;
}

std::string SharedStrings::Serialise(std::uint32_t streamOffset) const {
  std::string out;
  RecordSplitter records(out);
  // SST head: references from cells, distinct texts.
  std::string head;
  Put32(head, references_);
  Put32(head, UniqueCount());
  records.Append(head);

  const std::uint32_t perBucket = std::max<std::uint32_t>(8, UniqueCount() / 128 + 1);
  std::vector<Bucket> buckets;
  buckets.reserve(UniqueCount() / perBucket + 1);

  for (std::uint32_t i = 0; i < texts_.size(); ++i) {
    const Biff8Text text = EncodeText(texts_[i]);
    if (text.Count() > kMaxStringChars) throw std::length_error("text longer than 32767 characters");
    const std::size_t charSize = text.wide ? 2 : 1;
    // Header: character count (2), flags (1); it stays in one record together
    // with at least its first character.
    const std::size_t headSize = 3 + (text.chars.empty() ? 0 : charSize);
    if (records.Room() < headSize) records.Flush();
    if (i % perBucket == 0) {
      buckets.push_back({static_cast<std::uint32_t>(streamOffset + records.NextPos()), records.NextInRecord()});
    }
    std::string header;
    Put16(header, static_cast<std::uint16_t>(text.Count()));
    Put8(header, text.wide ? 1 : 0);
    records.Append(header);

    std::string_view rest = text.chars;
    for (;;) {
      const std::size_t fit = std::min(rest.size(), records.Room() / charSize * charSize);
      records.Append(rest.substr(0, fit));
      rest.remove_prefix(fit);
      if (rest.empty()) break;
      // The characters go on in a CONTINUE record that opens with their flags.
      records.Flush();
      records.Append(std::string(1, text.wide ? '\x01' : '\x00'));
    }
  }
  records.Flush();

  // EXTSST: texts per bucket, then per bucket the stream position of its first
  // text, that text's offset within its record, and a reserved word.
  std::string ext;
  Put16(ext, static_cast<std::uint16_t>(perBucket));
  for (const Bucket& b : buckets) {
    Put32(ext, b.streamPos);
    Put16(ext, b.inRecord);
    Put16(ext, 0);
  }
  PutRecord(out, kExtSst, ext);
  return out;
}

}  // namespace rz47::biff8
