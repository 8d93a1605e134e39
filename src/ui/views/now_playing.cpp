#include "ui/views/now_playing.h"

#include <QBoxLayout>
#include <algorithm>

#include "model/version_label.h"
#include "ui/look/chip_button.h"
#include "ui/look/theme.h"
#include "ui/views/bare_layout.h"
#include "ui/views/meta_line.h"
#include "ui/views/shared_row.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::focus) | Field::decks |
                                              Field::phase | Field::watching | Field::library | Field::shown |
                                              Field::screenTracks;

constexpr std::size_t kShownVersions = 3;

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
  rows->addWidget(headline_);
  rows->addWidget(readout_);
  rows->addWidget(chipRow_);
  rows->addStretch(1);

  connect(&bridge_, &ModelBridge::changed, this, [this](model::ChangedFields fields) {
    if ((fields.bits() & kShownFields.bits()) != 0) refresh();
  });
  refresh();
}

std::vector<ChipButton*> NowPlaying::versionChips() const {
  std::vector<ChipButton*> chips;
  for (int i = 0; i < chipLayout_->count(); ++i) {
    if (auto* chip = qobject_cast<ChipButton*>(chipLayout_->itemAt(i)->widget())) chips.push_back(chip);
  }
  return chips;
}

void NowPlaying::refresh() {
  const model::AppModel& model = bridge_.model();
  if (const auto track = model.currentTrack()) {
    showTrack(*track);
    return;
  }
  const auto& focus = model.focus();
  if (focus && focus->content.is<DeckContent::Ambiguous>()) {
    showVersions(focus->deck);
    return;
  }
  showNothing();
}

void NowPlaying::showTrack(const Track& track) {
  const auto& focus = bridge_.model().focus();
  headline_->setTextFont(Theme::font(Theme::kNowPlayingTitleFontSize, Theme::Weight::bold));
  headline_->setColor(Theme::text());
  headline_->setText(toQString(track.title));
  headline_->setToolTip(toQString(track.title));
  const QString artist = toQString(track.displayArtist());
  QString tail = QStringLiteral(" · ") + metaLine(track);
  if (focus) tail += tr(" · Deck %1").arg(focus->deck);
  readout_->setText(artist, tail);
  readout_->setToolTip(artist + tail);
  chipRow_->setVisible(false);
  readout_->setVisible(true);
}

void NowPlaying::showVersions(int deck) {
  headline_->setTextFont(Theme::font(Theme::kNowPlayingQuestionFontSize, Theme::Weight::bold));
  headline_->setColor(Theme::warn());
  headline_->setText(tr("Which version is on Deck %1?").arg(deck));
  headline_->setToolTip(headline_->text());
  setChips(deck, bridge_.model().candidates(deck));
  readout_->setVisible(false);
  chipRow_->setVisible(true);
}

void NowPlaying::showNothing() {
  const model::AppModel& model = bridge_.model();
  const auto& focus = model.focus();
  QString text;
  if (model.phase() == TrackerPhase::ambiguousStartup) {
    text = tr("Which deck are you mixing from?");
  } else if (focus && focus->content.is<DeckContent::Unmatched>()) {
    text = tr("Deck %1: not in your library").arg(focus->deck);
  } else if (model.watching()) {
    text = tr("Waiting for a load…");
  } else {
    text = tr("Not connected");
  }
  headline_->setTextFont(Theme::font(Theme::kNowPlayingEmptyFontSize, Theme::Weight::bold));
  headline_->setColor(Theme::muted());
  headline_->setText(text);
  headline_->setToolTip(text);
  readout_->setText(QStringLiteral(" "));
  readout_->setToolTip({});
  chipRow_->setVisible(false);
  readout_->setVisible(true);
}

void NowPlaying::setChips(int deck, const std::vector<Track>& candidates) {
  const std::vector<Track> shown(
      candidates.begin(), candidates.begin() + std::ptrdiff_t(std::min(candidates.size(), kShownVersions)));
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
    chip->setToolTip(toQString(track.title + " — " + track.displayArtist() + ", ") + metaLine(track));
    connect(chip, &ChipButton::clicked, this, [this, deck, track] { bridge_.model().identify(deck, track); });
    chipLayout_->insertWidget(static_cast<int>(i), chip);
  }
  shareRow(versionChips(), width(), Theme::kVersionChipSpacing);
}

void NowPlaying::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  shareRow(versionChips(), width(), Theme::kVersionChipSpacing);
}

}  // namespace kesta::ui
