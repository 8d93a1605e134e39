#include "ui/views/now_playing.h"

#include <QBoxLayout>
#include <algorithm>

#include "model/now_playing_text.h"
#include "model/version_label.h"
#include "platform/text/unicode_text.h"
#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/bare_layout.h"
#include "ui/views/line_slot.h"
#include "ui/views/meta_line.h"
#include "ui/views/shared_row.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::focus) | Field::decks |
                                              Field::phase | Field::watching | Field::library | Field::shown |
                                              Field::screenTracks;

}  // namespace

NowPlaying::NowPlaying(ModelBridge& bridge, QWidget* parent)
    : QWidget(parent),
      bridge_(bridge),
      headline_(
          new TextLine(Theme::font(Theme::kNowPlayingTitleFontSize, Theme::Weight::bold), Theme::text())),
      readout_(new TextLine(Theme::captionFont(), Theme::muted())),
      chipRow_(new QWidget),
      chipLayout_(new QHBoxLayout(chipRow_)) {
  setFixedHeight(Theme::kNowPlayingHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  chipLayout_->setContentsMargins(0, 0, 0, 0);
  chipLayout_->setSpacing(Theme::kVersionChipSpacing);
  chipLayout_->addStretch(1);

  auto* rows = bareColumn(this, Theme::kNowPlayingSpacing);
  addLineSlot(*rows, headline_);
  addLineSlot(*rows, readout_);
  rows->addWidget(chipRow_);
  rows->addStretch(1);

  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

std::vector<ChipButton*> NowPlaying::versionChips() const {
  std::vector<ChipButton*> chips;
  for (int i = 0; i < chipLayout_->count(); ++i) {
    if (auto* chip = qobject_cast<ChipButton*>(chipLayout_->itemAt(i)->widget())) chips.push_back(chip);
  }
  return chips;
}

void NowPlaying::refresh() {
  const model::NowPlayingText shown = model::nowPlayingText(bridge_.snapshot());
  switch (shown.kind) {
    case model::NowPlayingText::Kind::track:
      showHeadline(shown, Theme::kNowPlayingTitleFontSize, Theme::text());
      break;
    case model::NowPlayingText::Kind::versions:
      setChips(shown.deck, shown.versions);
      showHeadline(shown, Theme::kNowPlayingQuestionFontSize, Theme::warn());
      break;
    case model::NowPlayingText::Kind::nothing:
      showHeadline(shown, Theme::kNowPlayingEmptyFontSize, Theme::muted());
      break;
  }
}

void NowPlaying::showHeadline(const model::NowPlayingText& shown, qreal fontSize, const QColor& color) {
  const bool versions = shown.kind == model::NowPlayingText::Kind::versions;
  headline_->setTextFont(Theme::font(fontSize, Theme::Weight::bold));
  headline_->setColor(color);
  headline_->setText(toQString(shown.headline));
  headline_->setToolTip(headline_->text());
  if (!versions) {
    // The artist is cut before tempo, key and deck.
    const QString readout = toQString(shown.readout);
    const QString kept = toQString(shown.readoutKept);
    readout_->setText(readout.chopped(kept.size()), kept);
    readout_->setToolTip(shown.kind == model::NowPlayingText::Kind::track ? readout : QString());
  }
  readout_->setVisible(!versions);
  chipRow_->setVisible(versions);
}

void NowPlaying::setChips(int deck, const std::vector<Track>& shown) {
  const auto sameIDs = [](const Track& a, const Track& b) { return a.id == b.id; };
  if (deck == chipDeck_ &&
      std::equal(shown.begin(), shown.end(), chipTracks_.begin(), chipTracks_.end(), sameIDs)) {
    return;
  }
  chipTracks_ = shown;
  chipDeck_ = deck;

  // A chip may be the one whose click brought this change: it goes once its click is over.
  for (ChipButton* chip : versionChips()) {
    chipLayout_->removeWidget(chip);
    chip->hide();
    chip->deleteLater();
  }
  const std::vector<model::VersionLabel> labels = model::versionLabels(chipTracks_);
  for (std::size_t i = 0; i < chipTracks_.size(); ++i) {
    const Track& track = chipTracks_[i];
    auto* chip = new ChipButton({});
    chip->setText(toQString(labels[i].lead), toQString(labels[i].tail));
    chip->setToolTip(
        toQString(unicode::isolated(track.title) + " — " + unicode::isolated(track.displayArtist()) + ", ") +
        metaLine(track));
    connect(chip, &ChipButton::clicked, this,
            [this, deck, track] { bridge_.actions().identify(deck, track); });
    chipLayout_->insertWidget(static_cast<int>(i), chip);
  }
  shareRow(versionChips(), width(), Theme::kVersionChipSpacing);
}

void NowPlaying::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  shareRow(versionChips(), width(), Theme::kVersionChipSpacing);
}

}  // namespace kesta::ui
