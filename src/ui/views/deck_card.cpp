#include "ui/views/deck_card.h"

#include <QBoxLayout>
#include <QPainter>

#include "model/deck_text.h"
#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/shell/view_refresh.h"
#include "ui/views/line_slot.h"
#include "ui/views/text_line.h"

namespace kesta::ui {

namespace {

using model::Field;

constexpr model::ChangedFields kShownFields = model::ChangedFields(Field::focus) | Field::decks |
                                              Field::pendingDecks | Field::watching | Field::library;

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
  addLineSlot(*label, title_);
  addLineSlot(*label, meta_);
  label->addStretch(1);

  connect(this, &QAbstractButton::clicked, this, [this] { bridge_.actions().follow(deck_); });
  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

void DeckCard::refresh() {
  const model::DeckText shown = model::deckText(bridge_.snapshot(), deck_);
  if (shown.followed != followed_) {
    followed_ = shown.followed;
    update();
  }
  deckLabel_->setColor(followed_ ? Theme::lime() : Theme::muted());
  following_->setVisible(followed_);
  checking_->setVisible(shown.checking);
  title_->setText(toQString(shown.title));
  title_->setToolTip(toQString(shown.title));
  // The artist is cut before tempo and key.
  const QString meta = toQString(shown.meta);
  const QString kept = toQString(shown.metaKept);
  meta_->setText(meta.chopped(kept.size()), kept);
  setEnabled(shown.tappable);
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
