#include "ui/views/view_text.h"

#include <QStringList>

#include "ui/shell/utf8_text.h"

namespace kesta::ui {

QString suggestionTooltip(const Suggestion& suggestion) {
  const Track& track = suggestion.track;
  QStringList lines{toQString(track.title), toQString(track.displayArtist()), toQString(suggestion.why)};
  if (suggestion.caveat) lines << toQString(*suggestion.caveat);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace kesta::ui
