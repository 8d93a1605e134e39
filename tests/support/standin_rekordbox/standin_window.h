#pragma once

#include <QJsonObject>
#include <QTimer>
#include <QWidget>
#include <array>

#include "deck_panel.h"
#include "mixer_panel.h"

namespace standin {

// A window that looks, to the reader, like rekordbox: two deck areas and the
// mixer in a dark theme. It is driven by text commands, one per line, and
// answers each with one line of JSON once the change is on screen.
class StandInWindow : public QWidget {
 public:
  explicit StandInWindow(int titleSize);

  // Carries out one command and returns the answer.
  QJsonObject run(const QString& command);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QJsonObject load(int deck, const QString& json);
  QJsonObject resizeTo(int width, int height);
  QJsonObject deckState(int deck) const;
  QRectF textColumn(int deck) const;
  void settle();

  std::array<DeckPanel, 2> decks_;
  MixerPanel mixer_;
  Fonts fonts_;
  int titleSize_;
  // Shows only the window's background, as while another view hides decks and mixer.
  bool blank_ = false;
  QTimer ticker_;
};

}  // namespace standin
