#pragma once

#include <QAbstractButton>

#include "ui/shell/model_bridge.h"

namespace kesta::ui {

class TextLine;

// One rekordbox deck in the full window's decks row: "DECK <n>" with the
// "FOLLOWING" and "CHECKING" badges, the title of what the deck holds and a
// line of artist, tempo and key. Tapping it tells the model that the DJ
// mixes from this deck; it is disabled before Connect and while the deck has
// nothing on it. Updated in place from the model; main thread only.
class DeckCard : public QAbstractButton {
  Q_OBJECT

 public:
  // `deck` is 1 or 2.
  DeckCard(ModelBridge& bridge, int deck, QWidget* parent = nullptr);

  int deck() const { return deck_; }
  bool isFollowed() const { return followed_; }

  // The parts, for tests and the gallery.
  TextLine* deckLine() const { return deckLabel_; }
  TextLine* followingBadge() const { return following_; }
  TextLine* checkingBadge() const { return checking_; }
  TextLine* titleLine() const { return title_; }
  TextLine* metaLine() const { return meta_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh();

  ModelBridge& bridge_;
  int deck_;
  bool followed_ = false;
  TextLine* deckLabel_;
  TextLine* following_;
  TextLine* checking_;
  TextLine* title_;
  TextLine* meta_;
};

}  // namespace kesta::ui
