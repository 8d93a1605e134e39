#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/track.h"
#include "model/card_header.h"

class QHBoxLayout;
class QMenu;
class QStackedWidget;

namespace kesta::ui {

class CardLaneRow;
class ChipButton;
class DeckChoice;
class LoadUndo;
class ModelBridge;
class TextLine;

// The whole content of the corner card, 340 × 224 points, kept over
// rekordbox while the DJ plays. Top to bottom: the header (mark; the
// followed track and its deck, or the model's heading when nothing is
// followed; the one control that matters now: "Reopen", a live dot,
// "Set up" or "Connect"; "Full"); a line; the middle (the start-up question,
// the version pick of an ambiguous deck, or one row per lane); and the short
// status with the undo chip. The track line's context menu flags a wrong
// track or follows the other deck. "Set up" and "Full" call `expand`.
// Updated in place from the model; the version chips are rebuilt only when
// the candidates change. Main thread only.
class CornerCard : public QWidget {
  Q_OBJECT

 public:
  // What the middle shows.
  using Middle = model::CardMiddle;
  // The header's status control.
  using Control = model::CardControl;

  CornerCard(ModelBridge& bridge, std::function<void()> expand, QWidget* parent = nullptr);

  Middle middle() const;
  Control control() const { return control_; }
  // The track line's context menu as it would open now; empty when not watching.
  std::unique_ptr<QMenu> makeContextMenu();

  // The parts, for tests and the gallery.
  TextLine* titleLine() const { return title_; }
  TextLine* subtitleLine() const { return subtitle_; }
  ChipButton* controlChip() const { return controlChip_; }
  QWidget* dot() const { return dot_; }
  ChipButton* fullButton() const { return full_; }
  TextLine* questionLine() const { return versionQuestion_; }
  std::vector<ChipButton*> versionChips() const { return versionChips_; }
  DeckChoice* deckChoice() const { return deckChoice_; }
  TextLine* statusLine() const { return status_; }
  LoadUndo* undoChip() const { return undo_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* makeHeader();
  QWidget* makeStartupPage();
  QWidget* makeVersionPage();
  QWidget* makeLanesPage();
  QWidget* makeFooter();

  void refresh();
  void refreshHeading();
  void refreshControl();
  void refreshMiddle();
  // Rebuilds the chips only when the versions' ids or the deck changed.
  void setVersionChips(int deck, const std::vector<Track>& candidates);
  void tapControl();

  ModelBridge& bridge_;
  std::function<void()> expand_;
  Control control_ = Control::connect;

  TextLine* title_ = nullptr;
  TextLine* subtitle_ = nullptr;
  bool showsTrack_ = false;
  ChipButton* controlChip_ = nullptr;
  QWidget* dot_ = nullptr;
  ChipButton* full_ = nullptr;
  QStackedWidget* middle_ = nullptr;
  DeckChoice* deckChoice_ = nullptr;
  TextLine* versionQuestion_ = nullptr;
  QHBoxLayout* versionRow_ = nullptr;
  std::vector<ChipButton*> versionChips_;
  std::vector<std::string> versionIDs_;
  int versionDeck_ = 0;
  std::vector<CardLaneRow*> lanes_;
  TextLine* status_ = nullptr;
  LoadUndo* undo_ = nullptr;
};

}  // namespace kesta::ui
