#include "ui/views/view_text.h"

#include <QStringList>

namespace kesta::ui {

QString suggestionTooltip(const Suggestion& suggestion) {
  const Track& track = suggestion.track;
  QStringList lines{QString::fromStdString(track.title), QString::fromStdString(track.displayArtist()),
                    QString::fromStdString(suggestion.why)};
  if (suggestion.caveat) lines << QString::fromStdString(*suggestion.caveat);
  return lines.join(QLatin1Char('\n'));
}

QString fromView(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace kesta::ui
