#include "platform/qt/system_format_settings.h"

#include <QLocale>

namespace rz47 {

FormatSettings SystemFormatSettings() {
  QLocale locale = QLocale::system();
  QChar decimal = locale.decimalPoint().isEmpty() ? QChar('.') : locale.decimalPoint().at(0);
  char decimalSeparator = decimal.unicode() < 0x80 ? static_cast<char>(decimal.unicode()) : '.';
  QString time = locale.timeFormat(QLocale::LongFormat);
  // Time zone names in the long format ("t") are not a table value; keep h:mm:ss.
  if (time.contains(QLatin1Char('t'))) time = locale.timeFormat(QLocale::ShortFormat) + ":ss";
  return MakeFormatSettings(locale.dateFormat(QLocale::ShortFormat).toStdString(), decimalSeparator,
                            time.toStdString());
}

void InstallSystemFormatSettings() { SetFormatSettings(SystemFormatSettings()); }

}  // namespace rz47
