#include "ui/shell/qt_url_opener.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "ui/shell/model_bridge.h"

namespace kesta::ui {

bool QtUrlOpener::open(const std::string& url) {
  const QString text = toQString(url);
  // A path has no scheme; "C:" would not occur here.
  const QUrl target = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(QFile::decodeName(url.c_str()))
                                                        : QUrl(text, QUrl::StrictMode);
  if (target.isValid() && QDesktopServices::openUrl(target)) return true;
  qWarning("Could not open %s", qPrintable(text));
  return false;
}

}  // namespace kesta::ui
