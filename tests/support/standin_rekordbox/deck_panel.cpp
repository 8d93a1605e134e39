#include "deck_panel.h"

#include <QFontMetricsF>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace standin {

namespace {

const QColor kPanel{0x16, 0x16, 0x18};
const QColor kTitle{0xf2, 0xf2, 0xf2};
const QColor kArtist{0xc4, 0xc4, 0xc8};
const QColor kKey{0x62, 0xd6, 0xa8};
const QColor kRemain{0xff, 0x70, 0x70};
const QColor kWaveLow{0x1f, 0x6f, 0xd6};
const QColor kWaveHigh{0xf0, 0xa0, 0x40};

// "MM:SS.t", tenths truncated.
QString clockText(double seconds) {
  const long tenths = std::lround(std::floor(std::max(0.0, seconds) * 10));
  return QString("%1:%2.%3")
      .arg(tenths / 600, 2, 10, QChar('0'))
      .arg((tenths / 10) % 60, 2, 10, QChar('0'))
      .arg(tenths % 10);
}

// The faces a title or artist is drawn in, as Linux desktops draw these
// scripts: Noto for Arabic, Hebrew, CJK and Thai, DejaVu Sans for the rest.
// DejaVu has Arabic and Hebrew letters of its own, so the Noto face for them
// goes first for a text that holds them (only then: it has digits and
// signs, and its line height, of its own).
QFont withScriptFaces(QFont font, const QString& text) {
  const auto holds = [&](char16_t from, char16_t to) {
    return std::any_of(text.begin(), text.end(),
                       [&](QChar c) { return c.unicode() >= from && c.unicode() <= to; });
  };
  QStringList families{"DejaVu Sans", "Noto Sans CJK JP", "Noto Sans Thai"};
  if (holds(0x0590, 0x05FF)) families.prepend("Noto Sans Hebrew");
  if (holds(0x0600, 0x06FF)) families.prepend("Noto Sans Arabic");
  font.setFamilies(families);
  return font;
}

}  // namespace

Fonts Fonts::forTitleSize(int pixels) {
  Fonts fonts;
  fonts.title = QFont("DejaVu Sans");
  fonts.title.setPixelSize(pixels);
  fonts.artist = QFont("DejaVu Sans");
  fonts.artist.setPixelSize(std::max(8, pixels * 17 / 20));
  fonts.readout = QFont("DejaVu Sans");
  fonts.readout.setPixelSize(std::max(8, pixels * 18 / 20));
  return fonts;
}

void DeckPanel::load(DeckTrack track, double elapsed) {
  track_ = std::move(track);
  playingSince_.invalidate();
  elapsedBase_ = std::clamp(elapsed, 0.0, track_->duration);
}

void DeckPanel::clear() {
  track_.reset();
  playingSince_.invalidate();
  elapsedBase_ = 0;
}

void DeckPanel::play() {
  if (track_ && !playing()) playingSince_.start();
}

void DeckPanel::stop() {
  elapsedBase_ = elapsed();
  playingSince_.invalidate();
}

void DeckPanel::seek(double seconds) {
  elapsedBase_ = track_ ? std::clamp(seconds, 0.0, track_->duration) : 0.0;
  if (playing()) playingSince_.start();
}

double DeckPanel::elapsed() const {
  if (!track_) return 0;
  const double running = playing() ? playingSince_.elapsed() / 1000.0 : 0.0;
  return std::min(track_->duration, elapsedBase_ + running);
}

QString DeckPanel::elapsedText() const { return clockText(elapsed()); }

QString DeckPanel::remainingText() const {
  return "-" + clockText(track_ ? track_->duration - elapsed() : 0.0);
}

QString DeckPanel::shownTitle(const Fonts& fonts, double textWidth) const {
  if (!track_) return {};
  return QFontMetricsF(withScriptFaces(fonts.title, track_->title))
      .elidedText(track_->title, Qt::ElideRight, textWidth);
}

QJsonObject DeckPanel::describe(const Fonts& fonts, double textWidth) const {
  QJsonObject out;
  out["loaded"] = loaded();
  out["playing"] = playing();
  if (track_) {
    out["title"] = shownTitle(fonts, textWidth);
    out["artist"] = QFontMetricsF(withScriptFaces(fonts.artist, track_->artist))
                        .elidedText(track_->artist, Qt::ElideRight, textWidth);
    out["bpm"] = track_->bpm;
    out["key"] = track_->key;
    out["elapsed"] = elapsedText();
    out["remaining"] = remainingText();
  }
  return out;
}

void DeckPanel::paint(QPainter& painter, const QRectF& area, const QRectF& text, const Fonts& fonts) const {
  painter.fillRect(area, kPanel);
  const double lineGap = std::max(4.0, area.height() * 0.05);
  double y = area.top() + area.height() * 0.08;

  const auto line = [&](const QFont& font, const QColor& colour, const QString& shown, double x,
                        double width) {
    painter.setFont(font);
    painter.setPen(colour);
    // A line runs in the direction of its first letter that has one, as a
    // Mac text field draws it: "طريق الحب (Club Edit)" starts at the right,
    // its version standing at the left. Every line keeps to the left edge.
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    option.setTextDirection(shown.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    painter.drawText(QRectF(x, y, width, QFontMetricsF(font).height()), shown, option);
  };
  const auto advance = [&](const QFont& font) { y += QFontMetricsF(font).height() + lineGap; };

  if (!track_) {
    line(fonts.artist, kArtist, "Not Loaded", text.left(), text.width());
    return;
  }

  line(withScriptFaces(fonts.title, track_->title), kTitle, shownTitle(fonts, text.width()), text.left(),
       text.width());
  advance(fonts.title);
  const QFont artist = withScriptFaces(fonts.artist, track_->artist);
  line(artist, kArtist, QFontMetricsF(artist).elidedText(track_->artist, Qt::ElideRight, text.width()),
       text.left(), text.width());
  advance(fonts.artist);

  const double half = text.width() / 2;
  line(fonts.readout, kTitle, track_->bpm, text.left(), half);
  line(fonts.readout, kKey, track_->key, text.left() + half, half);
  advance(fonts.readout);
  line(fonts.readout, kTitle, elapsedText(), text.left(), half);
  line(fonts.readout, kRemain, remainingText(), text.left() + half, half);
  advance(fonts.readout);

  // The track's overview waveform along the bottom, one solid silhouette as
  // rekordbox draws it, and the play position.
  const QRectF wave(text.left(), area.bottom() - area.height() * 0.16, text.width(), area.height() * 0.12);
  if (wave.top() < y) return;
  const uint seed = qHash(track_->title);
  const int columns = std::max(1, int(wave.width()));
  for (int i = 0; i < columns; ++i) {
    const uint noise = (seed * 2654435761u + uint(i / 3) * 40503u) % 1000;
    const double h = wave.height() * (0.3 + 0.7 * noise / 1000.0);
    painter.fillRect(QRectF(wave.left() + i, wave.bottom() - h, 1, h),
                     (i / 3) % 9 == 0 ? kWaveHigh : kWaveLow);
  }
  const double at = wave.left() + wave.width() * (track_->duration > 0 ? elapsed() / track_->duration : 0);
  painter.fillRect(QRectF(at - 1, wave.top(), 2, wave.height()), Qt::white);
}

}  // namespace standin
