#include "platform/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "platform/cp1251.h"

namespace rz47 {
namespace {

icu::UnicodeString ToUnicode(std::string_view cp1251) {
  std::u16string utf16 = Cp1251ToUtf16(cp1251);
  return icu::UnicodeString(utf16.data(), static_cast<int32_t>(utf16.size()));
}

}  // namespace

struct TextCollator::Impl {
  std::unique_ptr<icu::Collator> collator;
};

std::string EnvironmentCollationLocale() {
  for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') {
      std::string name(value);
      name = name.substr(0, name.find_first_of(".@"));
      return name == "C" || name == "POSIX" ? std::string() : name;
    }
  }
  return {};
}

TextCollator::TextCollator(std::string_view localeName) : impl_(std::make_unique<Impl>()) {
  std::string name = localeName.empty() ? EnvironmentCollationLocale() : std::string(localeName);
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = name.empty() ? icu::Locale::getRoot() : icu::Locale(name.c_str());
  impl_->collator.reset(icu::Collator::createInstance(locale, status));
  if (U_FAILURE(status) || !impl_->collator) {
    status = U_ZERO_ERROR;
    impl_->collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  }
  if (!impl_->collator) throw std::runtime_error("ICU collator unavailable");
  // Tertiary strength tells upper from lower case.
  impl_->collator->setStrength(icu::Collator::TERTIARY);
}

TextCollator::~TextCollator() = default;

int TextCollator::Compare(std::string_view a, std::string_view b) const {
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult r = impl_->collator->compare(ToUnicode(a), ToUnicode(b), status);
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

std::string TextCollator::SortKey(std::string_view text) const {
  icu::UnicodeString u = ToUnicode(text);
  std::vector<uint8_t> key(64);
  int32_t len = impl_->collator->getSortKey(u, key.data(), static_cast<int32_t>(key.size()));
  if (len > static_cast<int32_t>(key.size())) {
    key.resize(len);
    len = impl_->collator->getSortKey(u, key.data(), len);
  }
  // ICU terminates the key with a zero byte; drop it so keys compare as plain bytes.
  if (len > 0 && key[len - 1] == 0) --len;
  return std::string(reinterpret_cast<const char*>(key.data()), len);
}

}  // namespace rz47
