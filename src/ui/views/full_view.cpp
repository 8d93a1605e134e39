#include "ui/views/full_view.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCursor>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QtMath>
#include <utility>

#include "model/setup_buttons.h"
#include "platform/text/unicode_text.h"
#include "ui/look/chip_button.h"
#include "ui/look/fitted_text.h"
#include "ui/look/icons.h"
#include "ui/look/kesta_mark.h"
#include "ui/look/live_dot.h"
#include "ui/look/rounded_shape.h"
#include "ui/look/section_label.h"
#include "ui/look/status_text.h"
#include "ui/look/theme.h"
#include "ui/shell/model_bridge.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/bare_layout.h"
#include "ui/views/deck_card.h"
#include "ui/views/lane_row.h"
#include "ui/views/load_undo.h"
#include "ui/views/now_playing.h"
#include "ui/views/question_dialog.h"
#include "ui/views/star_rating.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

using model::ChangedFields;
using model::Field;

constexpr const char* kPlaylistPrefix = "playlist:";

constexpr ChangedFields kSetupFields = ChangedFields(Field::library) | Field::screenPermission |
                                       Field::askedForScreenPermission | Field::watching |
                                       Field::oneClickNeedsAccess | Field::oneClickLoad;
constexpr ChangedFields kFollowingFields = ChangedFields(Field::focus) | Field::decks | Field::watching |
                                           Field::library | Field::userData | Field::shown |
                                           Field::screenTracks;
constexpr ChangedFields kPoolFields = ChangedFields(Field::poolChoices) | Field::poolID | Field::library;
constexpr ChangedFields kFooterFields = ChangedFields(Field::activeSet) | Field::lanes | Field::library;

using model::touches;

bool isPlaylist(const PoolChoice& choice) { return choice.id.rfind(kPlaylistPrefix, 0) == 0; }

QString choiceLabel(const PoolChoice& choice) {
  // A playlist is the DJ's own name; the other pools are named by Kesta.
  const std::string name = isPlaylist(choice) ? unicode::isolated(choice.name) : choice.name;
  return QStringLiteral("%1 · %2").arg(toQString(name)).arg(choice.count);
}

// The setup card's ground: the panel colour in a rounded rectangle.
class PanelBox : public QWidget {
 public:
  PanelBox() { setAttribute(Qt::WA_OpaquePaintEvent, false); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kSetupRadius), Theme::panel());
  }
};

// A borderless text button: "Wrong track?".
class TextButton : public QAbstractButton {
 public:
  TextButton(const QString& text, const QFont& font, const QColor& color) : color_(color) {
    setText(text);
    setFont(font);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override { return fontMetrics().size(Qt::TextSingleLine, text()) + QSize(4, 0); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(isDown() ? Theme::faded(color_, 0.6) : color_);
    painter.drawText(rect(), Qt::AlignCenter, text());
  }

 private:
  QColor color_;
};

// The pool menu's button: the pool's name, cut at the end when the row is
// short, then a chevron with room of its own, so it reads as a menu.
class MenuTextButton : public QToolButton {
 public:
  MenuTextButton() {
    setPopupMode(QToolButton::InstantPopup);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  }
  QSize sizeHint() const override {
    const QFontMetricsF metrics(font());
    return {qCeil(metrics.horizontalAdvance(text()) + chevronRoom() + 2 * Theme::kPoolPaddingX),
            qCeil(metrics.height())};
  }
  QSize minimumSizeHint() const override { return {qCeil(chevronRoom() + 2 * Theme::kPoolPaddingX), 0}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QColor color = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    if (isDown()) color = Theme::faded(color, Theme::kChipPressedPlain);
    const QRectF inner = QRectF(rect()).adjusted(Theme::kPoolPaddingX, 0, -Theme::kPoolPaddingX, 0);
    const QFontMetricsF metrics(font());
    const QString shown = elided(metrics, text(), qMax<qreal>(0, inner.width() - chevronRoom()));
    painter.setPen(color);
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, shown);
    const qreal size = Theme::kPoolChevronSize;
    const qreal left = inner.left() + metrics.horizontalAdvance(shown) + Theme::kPoolChevronSpacing;
    paintIcon(painter, Icon::chevronDown, QRectF(left, inner.center().y() - size / 2, size, size), color,
              Theme::Weight::semibold);
  }

 private:
  static qreal chevronRoom() { return Theme::kPoolChevronSpacing + Theme::kPoolChevronSize; }
};

TextLine* fixedLine(const QString& text, const QFont& font, const QColor& color) {
  auto* line = new TextLine(font, color);
  line->setCompressible(false);
  line->setText(text);
  return line;
}

}  // namespace

FullView::FullView(ModelBridge& bridge, std::function<void()> collapse,
                   std::function<void(RootView::Sheet)> open, QWidget* parent)
    : QWidget(parent), bridge_(bridge), collapse_(std::move(collapse)), open_(std::move(open)) {
  auto* column = bareColumn(this, Theme::kFullSpacing);
  column->addWidget(makeHeader());
  column->addWidget(makeSetupCard());

  auto* decks = new QWidget;
  decks->setFixedHeight(Theme::kDeckCardHeight);
  auto* deckRow = bareRow(decks, Theme::kDeckRowSpacing);
  for (int deck = 1; deck <= 2; ++deck) {
    decks_[deck - 1] = new DeckCard(bridge_, deck);
    deckRow->addWidget(decks_[deck - 1], 1);
  }
  column->addWidget(decks);
  column->addWidget(makeFollowing());
  column->addWidget(makeLanes());
  column->addWidget(makeFooter());
  column->addStretch(1);

  new ViewRefresh(bridge_, *this, model::kEveryField, [this](ChangedFields fields) { refresh(fields); });
}

QWidget* FullView::makeHeader() {
  auto* header = new QWidget;
  header->setFixedHeight(Theme::kFullHeaderHeight);
  auto* layout = bareRow(header, Theme::kFullHeaderSpacing);
  layout->addWidget(new KestaMark(Theme::kFullMarkSize));
  layout->addWidget(fixedLine(QStringLiteral("KESTA"),
                              Theme::font(Theme::kFullNameFontSize, Theme::Weight::heavy), Theme::text()));
  version_ = fixedLine({}, Theme::font(Theme::kFullVersionFontSize), Theme::muted());
  layout->addWidget(version_);
  layout->addStretch(1);
  dot_ = new LiveDot;
  layout->addWidget(dot_);
  mini_ =
      modeChip(tr("Mini"), Icon::pictureInPicture, tr("Switch to the small card in the top-right corner"));
  connect(mini_, &ChipButton::clicked, this, [this] { collapse_(); });
  layout->addWidget(mini_);
  return header;
}

QWidget* FullView::makeSetupCard() {
  auto* card = new PanelBox;
  auto* layout = new QVBoxLayout(card);
  layout->setContentsMargins(Theme::kSetupPadding, Theme::kSetupPadding, Theme::kSetupPadding,
                             Theme::kSetupPadding);
  layout->setSpacing(Theme::kSetupSpacing);
  layout->addWidget(makeSetupButtons());

  auto* statusRow = new QHBoxLayout;
  statusRow->setContentsMargins(0, 0, 0, 0);
  status_ = new StatusText({}, 2);
  undo_ = new LoadUndo(bridge_);
  statusRow->addWidget(status_, 1, Qt::AlignTop);
  statusRow->addWidget(undo_, 0, Qt::AlignTop);
  layout->addLayout(statusRow);

  summary_ = new TextLine(Theme::font(Theme::kSummaryFontSize), Theme::muted());
  layout->addWidget(summary_);
  return card;
}

QWidget* FullView::makeSetupButtons() {
  auto* buttons = new QWidget;
  auto* layout = bareRow(buttons, Theme::kSetupSpacing);
  libraryButton_ = new ChipButton({});
  libraryButton_->setToolTip(tr(
      "Uses the XML you export from rekordbox (File › Export Collection in xml format). Nothing leaves this "
      "computer."));
  connect(libraryButton_, &ChipButton::clicked, this, &FullView::tapLibrary);
  permission_ = new ChipButton({});
  connect(permission_, &ChipButton::clicked, this, [this] { bridge_.actions().requestScreenPermission(); });
  reopen_ = new ChipButton(tr("Reopen Kesta"), true);
  reopen_->setToolTip(tr("Screen reading permission takes effect only after Kesta restarts"));
  connect(reopen_, &ChipButton::clicked, this, [this] { bridge_.actions().relaunch(); });
  allowOneClick_ = new ChipButton(tr("Allow one-click"), true);
  allowOneClick_->setToolTip(
      tr("One-click load needs Accessibility permission. After an update, turn Kesta Live Beta off and on in "
         "that "
         "list."));
  connect(allowOneClick_, &ChipButton::clicked, this, [this] { bridge_.actions().allowOneClick(); });
  connect_ = new ChipButton({});
  connect(connect_, &ChipButton::clicked, this, [this] { bridge_.actions().toggleWatching(); });
  for (QWidget* chip : {static_cast<QWidget*>(libraryButton_), static_cast<QWidget*>(permission_),
                        static_cast<QWidget*>(reopen_), static_cast<QWidget*>(allowOneClick_),
                        static_cast<QWidget*>(connect_)}) {
    layout->addWidget(chip);
  }
  layout->addStretch(1);

  makeActionsMenu();
  menuButton_ = new QToolButton;
  menuButton_->setIcon(makeIcon(Icon::ellipsisCircle, Theme::kMenuSymbolSize, Theme::muted()));
  menuButton_->setPopupMode(QToolButton::InstantPopup);
  menuButton_->setAutoRaise(true);
  menuButton_->setFocusPolicy(Qt::NoFocus);
  menuButton_->setFixedWidth(Theme::kMenuButtonWidth);
  menuButton_->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
  menuButton_->setMenu(actions_);
  // The open menu takes the mouse, so the button never hears it leave: it
  // would keep its hover box after the menu closes somewhere else.
  connect(actions_, &QMenu::aboutToHide, menuButton_, [button = menuButton_] {
    if (button->rect().contains(button->mapFromGlobal(QCursor::pos()))) return;
    button->setAttribute(Qt::WA_UnderMouse, false);
    button->update();
  });
  layout->addWidget(menuButton_);
  return buttons;
}

void FullView::makeActionsMenu() {
  actions_ = new QMenu(this);
  actions_->addAction(tr("Choose a different XML…"), this, [this] { bridge_.actions().chooseLibraryFile(); });
  libraryDetails_ =
      actions_->addAction(tr("Library details…"), this, [this] { open_(RootView::Sheet::library); });
  actions_->addAction(tr("Set history…"), this, [this] { open_(RootView::Sheet::sets); });
  actions_->addAction(tr("Diagnostics…"), this, [this] { open_(RootView::Sheet::diagnostics); });
  actions_->addSeparator();
  oneClick_ = actions_->addAction(tr("Experimental: one-click load"));
  oneClick_->setCheckable(true);
  connect(oneClick_, &QAction::toggled, this, [this](bool on) { bridge_.actions().setOneClickLoad(on); });
}

QWidget* FullView::makeFollowing() {
  auto* block = new QWidget;
  auto* column = bareColumn(block, Theme::kFollowingSpacing);

  auto* caption = new QWidget;
  auto* captionRow = bareRow(caption, 0);
  auto* label = new SectionLabel(QStringLiteral("FOLLOWING YOUR LATEST LOAD"));
  captionRow->addWidget(label);
  captionRow->addStretch(1);
  wrongTrack_ = new TextButton(
      tr("Wrong track?"), Theme::font(Theme::kWrongTrackFontSize, Theme::Weight::semibold), Theme::muted());
  wrongTrack_->setToolTip(
      tr("Tell Kesta it's following the wrong track. It's counted in Diagnostics to measure accuracy."));
  connect(static_cast<QAbstractButton*>(wrongTrack_), &QAbstractButton::clicked, this,
          [this] { bridge_.actions().flagWrongTrack(); });
  captionRow->addWidget(wrongTrack_);
  // As tall with the button as without it, so the rows below stay where they are.
  caption->setFixedHeight(qMax(label->sizeHint().height(), wrongTrack_->sizeHint().height()));
  column->addWidget(caption);

  nowPlaying_ = new NowPlaying(bridge_);
  column->addWidget(nowPlaying_);

  auto* poolRow = new QWidget;
  poolRow->setFixedHeight(Theme::kPoolRowHeight);
  auto* layout = bareRow(poolRow, Theme::kPoolRowSpacing);
  pool_ = new MenuTextButton;
  pool_->setFont(Theme::font(Theme::kPoolFontSize));
  pool_->setMaximumWidth(Theme::kPoolMaxWidth);
  pool_->setToolTip(tr("Where suggestions come from. Tick several playlists to combine them."));
  poolMenu_ = new QMenu(this);
  pool_->setMenu(poolMenu_);
  layout->addWidget(pool_);
  stars_ = new StarRating;
  connect(stars_, &StarRating::rated, this, [this](int stars) {
    if (const auto& track = bridge_.snapshot().currentTrack) bridge_.actions().rate(*track, stars);
  });
  layout->addWidget(stars_);
  layout->addStretch(1);
  column->addWidget(poolRow);
  return block;
}

QWidget* FullView::makeLanes() {
  auto* block = new QWidget;
  auto* column = bareColumn(block, Theme::kLaneListSpacing);
  for (const Lane lane : Lane::allCases()) {
    lanes_.push_back(new LaneRow(bridge_, lane));
    column->addWidget(lanes_.back());
  }
  return block;
}

QWidget* FullView::makeFooter() {
  auto* footer = new QWidget;
  footer->setFixedHeight(Theme::kFooterHeight);
  auto* layout = bareRow(footer, Theme::kFooterSpacing);
  replay_ = new ChipButton(tr("Replay tracks"));
  replay_->setToolTip(tr("Let tracks used earlier in this set be suggested again"));
  connect(replay_, &ChipButton::clicked, this, [this] {
    ask(tr("Bring back the tracks you've used this set?"),
        tr("They'll be suggested again. Your set history is kept."), tr("Replay tracks"),
        [this] { bridge_.actions().replayTracks(); });
  });
  endSet_ = new ChipButton(tr("End set"));
  endSet_->setToolTip(tr("Save this set to history and start fresh"));
  connect(endSet_, &ChipButton::clicked, this, [this] {
    ask(tr("End this set?"), tr("It's saved to Set history, and every track becomes suggestible again."),
        tr("End set"), [this] { bridge_.actions().endSet(); });
  });
  layout->addWidget(replay_);
  layout->addWidget(endSet_);
  layout->addStretch(1);
  used_ = fixedLine({}, Theme::font(Theme::kFooterFontSize), Theme::muted());
  layout->addWidget(used_);
  return footer;
}

void FullView::refresh(ChangedFields fields) {
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  dot_->setState(snapshot.watching, snapshot.readerProblem);
  version_->setText(QStringLiteral("beta ") + toQString(snapshot.versionLabel));
  status_->setText(toQString(snapshot.statusLine), toQString(snapshot.compactStatus));
  const QString summary = toQString(model::librarySummary(snapshot));
  summary_->setText(summary);
  summary_->setToolTip(summary);
  if (touches(fields, kSetupFields)) refreshSetupButtons();
  if (touches(fields, kFollowingFields)) refreshFollowing();
  if (touches(fields, kPoolFields)) refreshPool();
  if (touches(fields, kFooterFields)) refreshFooter();
}

void FullView::refreshSetupButtons() {
  const model::SetupButtons shown = model::setupButtons(bridge_.snapshot());
  libraryButton_->setVisible(shown.libraryShown);
  libraryButton_->setText(toQString(shown.libraryText));
  libraryButton_->setProminent(shown.libraryProminent);

  permission_->setVisible(shown.permissionShown);
  permission_->setText(toQString(shown.permissionText));
  permission_->setProminent(shown.permissionProminent);
  reopen_->setVisible(shown.reopenShown);

  allowOneClick_->setVisible(shown.allowOneClickShown);
  connect_->setVisible(shown.connectShown);
  connect_->setText(toQString(shown.connectText));
  connect_->setProminent(shown.connectProminent);
  connect_->setEnabled(shown.connectEnabled);

  libraryDetails_->setEnabled(shown.libraryDetailsEnabled);
  const QSignalBlocker quiet(oneClick_);
  oneClick_->setChecked(bridge_.snapshot().oneClickLoad);
}

void FullView::refreshFollowing() {
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  const bool followed = snapshot.currentTrack.has_value();
  wrongTrack_->setVisible(snapshot.watching && followed);
  stars_->setVisible(followed);
  if (followed) stars_->setRating(snapshot.currentRating);
}

void FullView::refreshPool() {
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  const QString label = toQString(snapshot.poolLabel);
  pool_->setText(label);
  pool_->setToolTip(label + QStringLiteral("\n") +
                    tr("Where suggestions come from. Tick several playlists to combine them."));
  pool_->setEnabled(!snapshot.library.empty);
  if (snapshot.poolChoices != menuChoices_ || snapshot.poolID != menuPoolID_) rebuildPoolMenu();
}

void FullView::rebuildPoolMenu() {
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  menuChoices_ = snapshot.poolChoices;
  menuPoolID_ = snapshot.poolID;
  poolMenu_->clear();
  bool anyPlaylist = false;
  for (const PoolChoice& choice : menuChoices_) {
    if (isPlaylist(choice)) {
      anyPlaylist = true;
      continue;
    }
    QAction* action = poolMenu_->addAction(choiceLabel(choice));
    action->setCheckable(true);
    action->setChecked(choice.id == menuPoolID_);
    connect(action, &QAction::triggered, this, [this, id = choice.id] { bridge_.actions().setPoolID(id); });
  }
  if (!anyPlaylist) return;
  poolMenu_->addSeparator();
  // A heading the menu measures like its entries, so it is never cut.
  QAction* heading = poolMenu_->addAction(tr("Playlists (tick several to combine)"));
  heading->setEnabled(false);
  const auto& selected = snapshot.selectedPlaylistIDs;
  for (const PoolChoice& choice : menuChoices_) {
    if (!isPlaylist(choice)) continue;
    const std::string id = choice.id.substr(std::char_traits<char>::length(kPlaylistPrefix));
    QAction* action = poolMenu_->addAction(choiceLabel(choice));
    action->setCheckable(true);
    action->setChecked(selected.count(id) > 0);
    connect(action, &QAction::triggered, this, [this, id] { bridge_.actions().togglePlaylist(id); });
  }
}

void FullView::refreshFooter() {
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  replay_->setEnabled(snapshot.canReplay);
  used_->setText(tr("%1 used this set").arg(snapshot.activeSet.entries().size()));
}

void FullView::tapLibrary() {
  if (bridge_.snapshot().library.empty) {
    bridge_.actions().chooseLibraryFile();
  } else {
    bridge_.actions().refreshLibrary();
  }
}

void FullView::ask(const QString& title, const QString& message, const QString& confirm,
                   std::function<void()> action) {
  if (confirmation_) return;
  auto* question = new QuestionDialog(title, message, confirm, this);
  question->setAttribute(Qt::WA_DeleteOnClose);
  question->setWindowModality(Qt::WindowModal);
  connect(question, &QDialog::accepted, this, std::move(action));
  confirmation_ = question;
  question->open();
}

}  // namespace kesta::ui
