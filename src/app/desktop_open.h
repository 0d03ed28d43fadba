// Handing a help file, a web address or a mail target to the desktop's default
// handler. Tests replace the opener to see what would be opened.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace rz47 {

using UrlOpener = std::function<void(const QUrl&)>;

// Installs an opener (empty restores the desktop's) and returns the previous one.
UrlOpener SetUrlOpener(UrlOpener opener);
void OpenUrl(const QUrl& url);

// Opens a help file by bare name (looked up in the working folder, then beside the
// program). A missing file is not reported.
void OpenHelpFile(const QString& bareName);

}  // namespace rz47
