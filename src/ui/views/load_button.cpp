#include "ui/views/load_button.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>
#include <utility>

#include "ui/look/rounded_shape.h"
#include "ui/look/theme.h"
#include "ui/shell/view_refresh.h"

namespace kesta::ui {

namespace {

using model::Field;

// What the decision reads: the decks, their motion and the mixer, the focus,
// the connection and the load under way.
constexpr model::ChangedFields kShownFields =
    model::ChangedFields(Field::watching) | Field::health | Field::decks | Field::pendingDecks |
    Field::focus | Field::motion | Field::mixer | Field::loadStatus | Field::oneClickLoad | Field::library;

QFont labelFont() { return Theme::font(Theme::kLoadButtonFontSize, Theme::Weight::bold); }

}  // namespace

LoadButton::Look LoadButton::look(const LoadDecision& decision, const model::LoadStatus& status,
                                  const std::string& trackID) {
  const model::LoadButtonState state = model::loadButtonState(decision, status, trackID);
  return {toQString(state.title), toQString(state.restingTitle), state.enabled, state.fill,
          toQString(state.tooltip)};
}

QColor LoadButton::fillColor(Look::Fill fill) {
  switch (fill) {
    case Look::Fill::warn:
      return Theme::warn();
    case Look::Fill::lime:
      return Theme::lime();
    case Look::Fill::raised:
      break;
  }
  return Theme::raised();
}

QColor LoadButton::labelColor(Look::Fill fill) {
  return fill == Look::Fill::raised ? Theme::muted() : QColor(Qt::black);
}

LoadButton::LoadButton(ModelBridge& bridge, Suggestion suggestion, QWidget* parent)
    : QAbstractButton(parent), bridge_(bridge), suggestion_(std::move(suggestion)) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connect(this, &QAbstractButton::clicked, this, [this] { bridge_.actions().load(suggestion_); });
  new ViewRefresh(bridge_, *this, kShownFields, [this](model::ChangedFields) { refresh(); });
}

void LoadButton::setSuggestion(Suggestion suggestion) {
  if (suggestion == suggestion_) return;
  suggestion_ = std::move(suggestion);
  refresh();
}

void LoadButton::refresh() {
  const Look next =
      look(bridge_.actions().loadDecision(suggestion_), bridge_.snapshot().loadStatus, suggestion_.track.id);
  if (next == look_) return;
  const bool resized = next.restingTitle != look_.restingTitle;
  look_ = next;
  setText(look_.title);
  setToolTip(look_.tooltip);
  setEnabled(look_.enabled);
  if (resized) updateGeometry();
  update();
}

QSize LoadButton::sizeHint() const {
  const QFontMetricsF metrics(labelFont());
  const qreal label =
      qMax(metrics.horizontalAdvance(look_.title), metrics.horizontalAdvance(look_.restingTitle));
  return {qCeil(label + 2 * Theme::kLoadButtonPaddingX),
          qCeil(metrics.height() + 2 * Theme::kLoadButtonPaddingY)};
}

void LoadButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(continuousRoundedRect(QRectF(rect()), Theme::kLoadButtonRadius), fillColor(look_.fill));
  painter.setFont(labelFont());
  painter.setPen(labelColor(look_.fill));
  painter.drawText(QRectF(rect()), Qt::AlignCenter, look_.title);
}

}  // namespace kesta::ui
