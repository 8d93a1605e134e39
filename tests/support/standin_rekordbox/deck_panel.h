#pragma once

#include <QElapsedTimer>
#include <QFont>
#include <QJsonObject>
#include <QPainter>
#include <QString>
#include <optional>

namespace standin {

struct DeckTrack {
  QString title;
  QString artist;
  QString bpm;  // as shown, "128.00"
  QString key;  // as shown, "8A" or "F#m"
  double duration = 300;
};

struct Fonts {
  QFont title, artist, readout;

  // Every size follows the title's pixel size.
  static Fonts forTitleSize(int pixels);
};

// One deck: what is loaded, whether it plays, and how it looks.
class DeckPanel {
 public:
  void load(DeckTrack track, double elapsed);
  void clear();
  void play();
  void stop();
  void seek(double seconds);
  bool playing() const { return playingSince_.isValid(); }
  bool loaded() const { return track_.has_value(); }
  const std::optional<DeckTrack>& track() const { return track_; }

  // The readouts as drawn now: "03:21.4" and "-02:17.9".
  QString elapsedText() const;
  QString remainingText() const;

  // The title as it fits the deck's text column, cut with "…" when too long.
  QString shownTitle(const Fonts& fonts, double textWidth) const;

  // What the deck shows, for the command replies.
  QJsonObject describe(const Fonts& fonts, double textWidth) const;

  // `area` is the deck's title area, `text` the column inside it that holds text.
  void paint(QPainter& painter, const QRectF& area, const QRectF& text, const Fonts& fonts) const;

 private:
  double elapsed() const;

  std::optional<DeckTrack> track_;
  double elapsedBase_ = 0;
  QElapsedTimer playingSince_;
};

}  // namespace standin
