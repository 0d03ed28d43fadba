// FormatSettings read from the environment's locale (QLocale::system(), which follows
// LC_ALL / LC_TIME / LC_NUMERIC / LANG and needs no installed glibc locale).
#pragma once

#include "platform/format_settings.h"

namespace rz47 {

FormatSettings SystemFormatSettings();

// Reads the system settings and makes them current; call once at start.
void InstallSystemFormatSettings();

}  // namespace rz47
