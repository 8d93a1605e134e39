#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kesta::ui {

// The one crossing between the model's text (UTF-8) and Qt's.
inline QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline std::string toStdString(const QString& text) { return text.toStdString(); }

}  // namespace kesta::ui
