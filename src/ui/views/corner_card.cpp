#include "ui/views/corner_card.h"

#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <algorithm>
#include <utility>

#include "model/card_header.h"
#include "model/now_playing_text.h"
#include "model/version_label.h"
#include "platform/text/unicode_text.h"
#include "ui/look/chip_button.h"
#include "ui/look/kesta_mark.h"
#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/shell/model_bridge.h"
#include "ui/shell/view_refresh.h"
#include "ui/shell/window_mode.h"
#include "ui/views/bare_layout.h"
#include "ui/views/card_lane_row.h"
#include "ui/views/deck_choice.h"
#include "ui/views/line_slot.h"
#include "ui/views/load_undo.h"
#include "ui/views/shared_row.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

// Header, line, one row per lane and footer fit the card without scrolling.
static_assert(2 * Theme::kCardPaddingY + Theme::kCardHeaderHeight + 1 +
                      int(Lane::kCount) * Theme::kCardLaneRowHeight +
                      (int(Lane::kCount) - 1) * Theme::kCardLaneListSpacing + Theme::kCardFooterHeight +
                      3 * Theme::kCardSpacing <=
                  Theme::kCardHeight,
              "the corner card has no room for another lane");

// The live dot of the header: a small filled circle.
class Dot : public QWidget {
 public:
  Dot() { setFixedSize(qRound(Theme::kDotDiameter), qRound(Theme::kDotDiameter)); }
  void setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    painter.drawEllipse(QRectF(rect()));
  }

 private:
  QColor color_ = Theme::lime();
};

}  // namespace

CornerCard::CornerCard(ModelBridge& bridge, std::function<void()> expand, QWidget* parent)
    : QWidget(parent), bridge_(bridge), expand_(std::move(expand)) {
  setAttribute(Qt::WA_TranslucentBackground);
  setFixedSize(contentSize(WindowMode::mini));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(Theme::kCardPaddingX, Theme::kCardPaddingY, Theme::kCardPaddingX,
                             Theme::kCardPaddingY);
  layout->setSpacing(Theme::kCardSpacing);
  layout->addWidget(makeHeader());

  auto* divider = new QWidget;
  divider->setFixedHeight(1);
  divider->setAutoFillBackground(true);
  QPalette line = divider->palette();
  line.setColor(QPalette::Window, Theme::line());
  divider->setPalette(line);
  layout->addWidget(divider);

  middle_ = new QStackedWidget;
  middle_->addWidget(makeStartupPage());
  middle_->addWidget(makeVersionPage());
  middle_->addWidget(makeLanesPage());
  layout->addWidget(middle_, 1);
  layout->addWidget(makeFooter());

  new ViewRefresh(bridge_, *this, model::kEveryField, [this](model::ChangedFields) { refresh(); });
}

QSize CornerCard::sizeHint() const { return contentSize(WindowMode::mini); }

QWidget* CornerCard::makeHeader() {
  auto* header = new QWidget;
  header->setFixedHeight(Theme::kCardHeaderHeight);
  auto* row = bareRow(header, Theme::kCardHeaderSpacing);
  row->addWidget(new KestaMark(Theme::kCardMarkSize));

  auto* heading = new QWidget;
  auto* lines = bareColumn(heading, 0);
  title_ = new TextLine(Theme::font(Theme::kCardTitleFontSize, Theme::Weight::bold), Theme::text());
  subtitle_ = new TextLine(Theme::font(Theme::kCardSmallFontSize), Theme::muted());
  lines->addStretch(1);
  addLineSlot(*lines, title_);
  addLineSlot(*lines, subtitle_);
  lines->addStretch(1);
  row->addWidget(heading, 1);

  controlChip_ = new ChipButton({}, true);
  connect(controlChip_, &ChipButton::clicked, this, &CornerCard::tapControl);
  row->addWidget(controlChip_);
  dot_ = new Dot;
  row->addWidget(dot_);

  full_ = modeChip(tr("Full"), Icon::expand, tr("Open the full window"));
  connect(full_, &ChipButton::clicked, this, [this] { expand_(); });
  row->addWidget(full_);
  return header;
}

QWidget* CornerCard::makeStartupPage() {
  auto* page = new QWidget;
  auto* layout = bareColumn(page, Theme::kCardSpacing);
  auto* question = new TextLine(Theme::font(Theme::kCardStartupFontSize), Theme::muted());
  question->setLines(2);
  question->setText(tr("Both decks were loaded at start. Which one are you mixing from?"));
  layout->addWidget(question);
  deckChoice_ = new DeckChoice(bridge_);
  deckChoice_->setFixedHeight(Theme::kDeckChoiceHeight);
  layout->addWidget(deckChoice_);
  layout->addStretch(1);
  return page;
}

QWidget* CornerCard::makeVersionPage() {
  auto* page = new QWidget;
  auto* layout = bareColumn(page, Theme::kCardSpacing);
  versionQuestion_ =
      new TextLine(Theme::font(Theme::kCardVersionFontSize, Theme::Weight::bold), Theme::warn());
  layout->addWidget(versionQuestion_);
  versionRow_ = new QHBoxLayout;
  versionRow_->setContentsMargins(0, 0, 0, 0);
  versionRow_->setSpacing(Theme::kVersionChipSpacing);
  versionRow_->addStretch(1);
  layout->addLayout(versionRow_);
  layout->addStretch(1);
  return page;
}

QWidget* CornerCard::makeLanesPage() {
  auto* page = new QWidget;
  auto* layout = bareColumn(page, Theme::kCardLaneListSpacing);
  for (const Lane lane : Lane::allCases()) {
    lanes_.push_back(new CardLaneRow(bridge_, lane));
    layout->addWidget(lanes_.back());
  }
  layout->addStretch(1);
  return page;
}

QWidget* CornerCard::makeFooter() {
  auto* footer = new QWidget;
  footer->setFixedHeight(Theme::kCardFooterHeight);
  auto* row = bareRow(footer, Theme::kCardFooterSpacing);
  status_ = new TextLine(Theme::font(Theme::kCardSmallFontSize), Theme::muted());
  row->addWidget(status_, 1, Qt::AlignVCenter);
  undo_ = new LoadUndo(bridge_);
  // The card's smallest chip: the footer's height, in the footer's size of text.
  undo_->setLabelFont(Theme::font(Theme::kCardUndoFontSize, Theme::Weight::semibold));
  undo_->setFixedHeight(Theme::kCardFooterHeight);
  row->addWidget(undo_);
  return footer;
}

void CornerCard::refresh() {
  refreshHeading();
  refreshControl();
  refreshMiddle();
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  status_->setText(toQString(snapshot.compactStatus));
  status_->setToolTip(toQString(snapshot.statusLine));
}

void CornerCard::refreshHeading() {
  const model::CardHeader header = model::cardHeader(bridge_.snapshot());
  showsTrack_ = header.showsTrack;
  title_->setText(toQString(header.title));
  title_->setToolTip(toQString(header.title));
  // The artist is cut before tempo and key.
  const QString subtitle = toQString(header.subtitle);
  const QString kept = toQString(header.subtitleKept);
  subtitle_->setText(subtitle.chopped(kept.size()), kept);
  subtitle_->setToolTip(toQString(header.subtitle));
}

void CornerCard::refreshControl() {
  control_ = model::cardControl(bridge_.snapshot());
  const bool dot = control_ == Control::problemDot || control_ == Control::liveDot;
  controlChip_->setVisible(!dot);
  dot_->setVisible(dot);
  if (dot) {
    static_cast<Dot*>(dot_)->setColor(control_ == Control::problemDot ? Theme::warn() : Theme::lime());
    dot_->setToolTip(control_ == Control::problemDot ? tr("Connected, but rekordbox can't be read right now")
                                                     : tr("Live"));
    return;
  }
  switch (control_) {
    case Control::reopen:
      controlChip_->setText(tr("Reopen"));
      controlChip_->setToolTip(tr("Screen reading permission takes effect only after Kesta restarts"));
      break;
    case Control::setUp:
      controlChip_->setText(tr("Set up"));
      controlChip_->setToolTip(tr("Add your rekordbox library in the full window"));
      break;
    default:
      controlChip_->setText(tr("Connect"));
      controlChip_->setToolTip({});
      break;
  }
}

void CornerCard::tapControl() {
  switch (control_) {
    case Control::reopen:
      bridge_.actions().relaunch();
      break;
    case Control::setUp:
      expand_();
      break;
    case Control::connect:
      bridge_.actions().toggleWatching();
      break;
    default:
      break;
  }
}

CornerCard::Middle CornerCard::middle() const { return model::cardMiddle(bridge_.snapshot()); }

void CornerCard::refreshMiddle() {
  const Middle shown = middle();
  middle_->setCurrentIndex(static_cast<int>(shown));
  if (shown != Middle::versionPick) return;
  const model::NowPlayingText versions = model::nowPlayingText(bridge_.snapshot());
  versionQuestion_->setText(toQString(versions.headline));
  setVersionChips(versions.deck, versions.versions);
}

void CornerCard::setVersionChips(int deck, const std::vector<Track>& candidates) {
  std::vector<std::string> ids;
  for (const Track& track : candidates) ids.push_back(track.id);
  if (ids == versionIDs_ && deck == versionDeck_) return;
  versionIDs_ = ids;
  versionDeck_ = deck;
  for (ChipButton* chip : versionChips_) delete chip;
  versionChips_.clear();
  const std::vector<model::VersionLabel> labels = model::versionLabels(candidates);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const Track& track = candidates[i];
    auto* chip = new ChipButton({});
    chip->setText(toQString(labels[i].lead), toQString(labels[i].tail));
    chip->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    chip->setToolTip(
        toQString(unicode::isolated(track.displayArtist()) + " · " + unicode::isolated(track.title)));
    connect(chip, &ChipButton::clicked, this,
            [this, deck, track] { bridge_.actions().identify(deck, track); });
    versionRow_->insertWidget(static_cast<int>(versionChips_.size()), chip);
    versionChips_.push_back(chip);
  }
  shareRow(versionChips_, contentSize(WindowMode::mini).width() - 2 * Theme::kCardPaddingX,
           Theme::kVersionChipSpacing);
}

std::unique_ptr<QMenu> CornerCard::makeContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  const model::ViewSnapshot& snapshot = bridge_.snapshot();
  if (!showsTrack_ || !snapshot.watching) return menu;
  menu->addAction(tr("Kesta is following the wrong track"), this,
                  [this] { bridge_.actions().flagWrongTrack(); });
  if (const auto other = snapshot.otherLoadedDeck) {
    const int deck = *other;
    menu->addAction(tr("Follow Deck %1 instead").arg(deck), this,
                    [this, deck] { bridge_.actions().follow(deck); });
  }
  return menu;
}

void CornerCard::contextMenuEvent(QContextMenuEvent* event) {
  const QRect line(subtitle_->mapTo(this, QPoint(0, 0)), subtitle_->size());
  if (!showsTrack_ || !line.contains(event->pos())) return;
  const auto menu = makeContextMenu();
  if (!menu->isEmpty()) menu->exec(event->globalPos());
}

void CornerCard::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const QPainterPath shape = continuousRoundedRect(box, Theme::kCardRadius);
  painter.fillPath(shape, Theme::faded(Theme::background(), Theme::kCardBackgroundOpacity));
  painter.setPen(QPen(Theme::faded(Theme::line(), Theme::kCardOutlineOpacity), 1));
  painter.drawPath(shape);
}

}  // namespace kesta::ui
