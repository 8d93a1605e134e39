#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "library/pool_choice.h"
#include "model/changed_fields.h"
#include "ui/views/question_dialog.h"
#include "ui/views/root_view.h"

class QAction;
class QMenu;
class QToolButton;

namespace kesta::ui {

class ChipButton;
class DeckCard;
class LaneRow;
class LiveDot;
class LoadUndo;
class NowPlaying;
class StarRating;
class StatusText;
class TextLine;

// The whole content of the full window, top to bottom: the header (mark,
// name, version, connection dot, "Mini"); the setup card (library,
// permission and connect buttons, the menu of less frequent actions, the
// status line with the undo chip, the library summary); the two deck cards;
// the followed track with the pool menu and the stars; one row per lane; and
// the footer with "Replay tracks", "End set" and the count of tracks used.
// Every control calls one model operation; "Mini" calls `collapse` and the
// menu's sheet entries call `open`. "Replay tracks" and "End set" ask first.
// Updated in place from the model; main thread only.
class FullView : public QWidget {
  Q_OBJECT

 public:
  FullView(ModelBridge& bridge, std::function<void()> collapse, std::function<void(RootView::Sheet)> open,
           QWidget* parent = nullptr);

  // The parts, for tests and the gallery.
  ChipButton* miniButton() const { return mini_; }
  ChipButton* libraryButton() const { return libraryButton_; }
  ChipButton* permissionButton() const { return permission_; }
  ChipButton* reopenButton() const { return reopen_; }
  ChipButton* allowOneClickButton() const { return allowOneClick_; }
  ChipButton* connectButton() const { return connect_; }
  QToolButton* actionsButton() const { return menuButton_; }
  QMenu* actionsMenu() const { return actions_; }
  QAction* libraryDetailsAction() const { return libraryDetails_; }
  QAction* oneClickAction() const { return oneClick_; }
  StatusText* statusText() const { return status_; }
  TextLine* librarySummary() const { return summary_; }
  QWidget* wrongTrackButton() const { return wrongTrack_; }
  QToolButton* poolButton() const { return pool_; }
  QMenu* poolMenu() const { return poolMenu_; }
  StarRating* stars() const { return stars_; }
  ChipButton* replayButton() const { return replay_; }
  ChipButton* endSetButton() const { return endSet_; }
  TextLine* usedCount() const { return used_; }
  // The confirmation shown now, or null.
  QuestionDialog* confirmation() const { return confirmation_; }

 private:
  QWidget* makeHeader();
  QWidget* makeSetupCard();
  QWidget* makeSetupButtons();
  QWidget* makeFollowing();
  QWidget* makeLanes();
  QWidget* makeFooter();
  void makeActionsMenu();

  void refresh(model::ChangedFields fields);
  void refreshSetupButtons();
  void refreshFollowing();
  void refreshPool();
  void rebuildPoolMenu();
  void refreshFooter();

  void tapLibrary();
  // Asks `title` with `message`; `action` runs only when `confirm` is pressed.
  void ask(const QString& title, const QString& message, const QString& confirm,
           std::function<void()> action);

  ModelBridge& bridge_;
  std::function<void()> collapse_;
  std::function<void(RootView::Sheet)> open_;

  LiveDot* dot_ = nullptr;
  ChipButton* mini_ = nullptr;
  ChipButton* libraryButton_ = nullptr;
  ChipButton* permission_ = nullptr;
  ChipButton* reopen_ = nullptr;
  ChipButton* allowOneClick_ = nullptr;
  ChipButton* connect_ = nullptr;
  QToolButton* menuButton_ = nullptr;
  QMenu* actions_ = nullptr;
  QAction* libraryDetails_ = nullptr;
  QAction* oneClick_ = nullptr;
  StatusText* status_ = nullptr;
  LoadUndo* undo_ = nullptr;
  TextLine* summary_ = nullptr;
  TextLine* version_ = nullptr;
  std::array<DeckCard*, 2> decks_{};
  QWidget* wrongTrack_ = nullptr;
  NowPlaying* nowPlaying_ = nullptr;
  QToolButton* pool_ = nullptr;
  QMenu* poolMenu_ = nullptr;
  std::vector<PoolChoice> menuChoices_;
  std::string menuPoolID_;
  StarRating* stars_ = nullptr;
  std::vector<LaneRow*> lanes_;
  ChipButton* replay_ = nullptr;
  ChipButton* endSet_ = nullptr;
  TextLine* used_ = nullptr;
  QPointer<QuestionDialog> confirmation_;
};

}  // namespace kesta::ui
