#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "browser_panel.h"
#include "deck_panel.h"
#include "mixer_panel.h"

namespace standin {

// A window that looks, to the reader, like rekordbox: two deck areas and the
// mixer in a dark theme. It is driven by text commands, one per line, and
// answers each with one line of JSON once the change is on screen. Below the
// mixer it has a track browser that a loader drives with keys and clicks:
// Control+F focuses the search box, a click selects a row, Shift+Left and
// Shift+Right load the selected row onto deck 1 and 2, Control+Z undoes the
// last load. Each such action is written to standard error.
class StandInWindow : public QWidget {
 public:
  explicit StandInWindow(int titleSize);

  // Carries out one command and returns the answer.
  QJsonObject run(const QString& command);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QJsonObject load(int deck, const QString& json);
  QJsonObject resizeTo(int width, int height);
  QJsonObject deckState(int deck) const;
  QRectF textColumn(int deck) const;
  void settle();
  QJsonObject browse(const QString& json);
  QJsonObject browserState() const;
  // Handles the browser's shortcuts; false for other keys.
  bool shortcut(const QKeyEvent& key);
  void action(const QString& text);

  struct Undo {
    int deck;
    std::optional<DeckTrack> before;
  };

  std::array<DeckPanel, 2> decks_;
  MixerPanel mixer_;
  Fonts fonts_;
  int titleSize_;
  // Shows only the window's background, as while another view hides decks and mixer.
  bool blank_ = false;
  QTimer ticker_;
  BrowserPanel browser_;
  QLineEdit* search_;
  std::vector<Undo> undo_;
  QJsonArray actions_;
};

}  // namespace standin
