#include "platform/qt/qt_text.h"

#include "platform/cp1251.h"

namespace rz47 {

QString ToQString(std::string_view cp1251) {
  std::u16string utf16 = Cp1251ToUtf16(cp1251);
  return QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
}

std::string FromQString(const QString& text) {
  return Utf16ToCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<std::size_t>(text.size())));
}

QString QText(const TextPair& pair, int lang) {
  std::string_view utf8 = PickUtf8(pair, lang);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString QText(const TextPair& pair) { return QText(pair, LangIndex); }

}  // namespace rz47
