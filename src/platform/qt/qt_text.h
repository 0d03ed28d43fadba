// The Qt boundary of the Windows-1251 texts: conversions to and from QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/text_pair.h"

namespace rz47 {

QString ToQString(std::string_view cp1251);
std::string FromQString(const QString& text);
// The pair's text in language `lang` (or the current one) as a QString.
QString QText(const TextPair& pair, int lang);
QString QText(const TextPair& pair);

}  // namespace rz47
