#include "ui/views/deck_card.h"

#include <QBoxLayout>
#include <QPainter>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/views/meta_line.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::focus) | Field::decks |
                                              Field::pendingDecks | Field::watching | Field::library;

// The meta line is the artist, then tempo and key, which are never cut.
struct Shown {
  QString title;
  QString meta;
  QString metaTail;
};

// The title and meta line of what the deck holds.
Shown describe(const DeckContent& content, const LibraryIndex& index, bool watching) {
  const QString blank = QStringLiteral(" ");
  if (const auto* held = content.as<DeckContent::Track>()) {
    const Track* track = index.track(held->id);
    if (!track) return {QStringLiteral("—"), blank};
    return {toQString(track->title), toQString(track->displayArtist()),
            QStringLiteral(" · ") + ui::metaLine(*track)};
  }
  if (const auto* ambiguous = content.as<DeckContent::Ambiguous>()) {
    return {DeckCard::tr("%1 possible versions").arg(ambiguous->ids.size()), blank};
  }
  if (content.is<DeckContent::Unmatched>()) return {DeckCard::tr("Not in your library"), blank};
  if (content.is<DeckContent::Empty>()) return {DeckCard::tr("Empty"), blank};
  return {watching ? DeckCard::tr("Reading…") : QStringLiteral("—"), blank};
}

}  // namespace

DeckCard::DeckCard(ModelBridge& bridge, int deck, QWidget* parent)
    : QAbstractButton(parent),
      bridge_(bridge),
      deck_(deck),
      deckLabel_(
          new TextLine(Theme::font(Theme::kDeckLabelFontSize, Theme::Weight::bold, Theme::kDeckLabelTracking),
                       Theme::muted())),
      following_(new TextLine(Theme::font(Theme::kDeckBadgeFontSize, Theme::Weight::heavy), Theme::lime())),
      checking_(new TextLine(Theme::font(Theme::kDeckBadgeFontSize, Theme::Weight::heavy), Theme::warn())),
      title_(new TextLine(Theme::font(Theme::kDeckTitleFontSize, Theme::Weight::semibold), Theme::text())),
      meta_(new TextLine(Theme::font(Theme::kDeckMetaFontSize), Theme::muted())) {
  setFocusPolicy(Qt::NoFocus);
  setFixedHeight(Theme::kDeckCardHeight);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setToolTip(tr("Tap to follow this deck"));
  deckLabel_->setText(tr("DECK %1").arg(deck));
  following_->setText(tr("FOLLOWING"));
  checking_->setText(tr("CHECKING"));
  for (TextLine* line : {deckLabel_, following_, checking_}) line->setCompressible(false);

  auto* header = new QHBoxLayout;
  header->setContentsMargins(0, 0, 0, 0);
  header->setSpacing(Theme::kDeckBadgeSpacing);
  header->addWidget(deckLabel_, 0, Qt::AlignVCenter);
  header->addWidget(following_, 0, Qt::AlignVCenter);
  header->addWidget(checking_, 0, Qt::AlignVCenter);
  header->addStretch(1);

  auto* label = new QVBoxLayout(this);
  label->setContentsMargins(Theme::kDeckCardPadding, 0, Theme::kDeckCardPadding, 0);
  label->setSpacing(Theme::kDeckCardSpacing);
  label->addStretch(1);
  label->addLayout(header);
  label->addWidget(title_);
  label->addWidget(meta_);
  label->addStretch(1);

  connect(this, &QAbstractButton::clicked, this,
          [this] { bridge_.model().follow(deck_, FocusKind::userChoice); });
  connect(&bridge_, &ModelBridge::changed, this, [this](model::ChangedFields fields) {
    if ((fields.bits() & kShownFields.bits()) != 0) refresh();
  });
  refresh();
}

void DeckCard::refresh() {
  const model::AppModel& model = bridge_.model();
  const bool followed = model.focus() && model.focus()->deck == deck_;
  if (followed != followed_) {
    followed_ = followed;
    update();
  }
  deckLabel_->setColor(followed_ ? Theme::lime() : Theme::muted());
  following_->setVisible(followed_);
  checking_->setVisible(model.pendingDecks().contains(deck_));
  showContent();
}

void DeckCard::showContent() {
  const model::AppModel& model = bridge_.model();
  const auto index = static_cast<std::size_t>(deck_ - 1);
  const DeckContent content = index < model.decks().size() ? model.decks()[index] : DeckContent::unknown();
  const Shown shown = describe(content, model.index(), model.watching());
  title_->setText(shown.title);
  title_->setToolTip(shown.title);
  meta_->setText(shown.meta, shown.metaTail);
  setEnabled(model.watching() && content.hasMedia());
}

QSize DeckCard::sizeHint() const { return {QAbstractButton::sizeHint().width(), Theme::kDeckCardHeight}; }

void DeckCard::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPainterPath shape =
      continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), Theme::kRowRadius);
  painter.fillPath(shape, followed_ ? Theme::raised() : Theme::panel());
  painter.setPen(
      QPen(followed_ ? Theme::faded(Theme::lime(), Theme::kDeckCardFollowedOutline) : Theme::line(), 1));
  painter.drawPath(shape);
}

}  // namespace kesta::ui
