#include "ui/look/application_look.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QToolTip>

#include "ui/look/icons.h"
#include "ui/look/theme.h"

namespace kesta::ui {

namespace {

// Fusion, except where its look does not suit the dark palette: a menu's
// divider (a shade darker than the menu, which cannot be seen), the tick box
// (a dark square on a dark ground) and the platform's icons on dialog buttons.
class LookStyle : public QProxyStyle {
 public:
  LookStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item || item->menuItemType != QStyleOptionMenuItem::Separator) {
      QProxyStyle::drawControl(element, option, painter, widget);
      return;
    }
    const QRect& area = item->rect;
    const int inset = Theme::kMenuDividerInset;
    painter->fillRect(QRect(area.left() + inset, area.center().y(), area.width() - 2 * inset, 1),
                      Theme::line());
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_IndicatorCheckBox) {
      paintTickBox(*painter, QRectF(option->rect), option->state);
      return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
  }

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

 private:
  // The panel's fill in an edge of the theme's line colour; a lime tick when
  // ticked, a lime bar when partly so; faded when disabled.
  static void paintTickBox(QPainter& painter, const QRectF& rect, QStyle::State state) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!(state & State_Enabled)) painter.setOpacity(Theme::kChipDisabledOpacity);
    const qreal half = Theme::kCheckBoxEdge / 2;
    const QRectF box = rect.adjusted(half, half, -half, -half);
    painter.setPen(QPen(Theme::line(), Theme::kCheckBoxEdge));
    painter.setBrush(Theme::panel());
    painter.drawRoundedRect(box, Theme::kCheckBoxRadius, Theme::kCheckBoxRadius);
    const QRectF inner = box.adjusted(2, 2, -2, -2);
    if (state & State_On) {
      paintIcon(painter, Icon::checkmark, inner, Theme::lime(), Theme::Weight::bold);
    } else if (state & State_NoChange) {
      painter.fillRect(QRectF(inner.left(), inner.center().y() - 1, inner.width(), 2), Theme::lime());
    }
    painter.restore();
  }
};

}  // namespace

QPalette darkPalette() {
  QPalette palette;
  const auto both = [&palette](QPalette::ColorRole role, const QColor& color) {
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
  };
  both(QPalette::Window, Theme::background());
  both(QPalette::WindowText, Theme::text());
  both(QPalette::Base, Theme::panel());
  both(QPalette::AlternateBase, Theme::raised());
  both(QPalette::ToolTipBase, Theme::raised());
  both(QPalette::ToolTipText, Theme::text());
  both(QPalette::PlaceholderText, Theme::muted());
  both(QPalette::Text, Theme::text());
  both(QPalette::Button, Theme::raised());
  both(QPalette::ButtonText, Theme::text());
  both(QPalette::BrightText, Theme::lime());
  both(QPalette::Light, Theme::line());
  both(QPalette::Midlight, Theme::line());
  both(QPalette::Mid, Theme::raised());
  both(QPalette::Dark, Theme::panel());
  both(QPalette::Shadow, Qt::black);
  both(QPalette::Highlight, Theme::lime());
  both(QPalette::HighlightedText, Qt::black);
  both(QPalette::Link, Theme::lime());
  both(QPalette::LinkVisited, Theme::lime());

  palette.setColor(QPalette::Disabled, QPalette::Window, Theme::background());
  palette.setColor(QPalette::Disabled, QPalette::Base, Theme::background());
  palette.setColor(QPalette::Disabled, QPalette::Button, Theme::panel());
  for (const auto role :
       {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText}) {
    palette.setColor(QPalette::Disabled, role, Theme::faded(Theme::muted(), 0.6));
  }
  // Fusion engraves disabled text with the light colour; on a dark panel that reads as a blur.
  palette.setColor(QPalette::Disabled, QPalette::Light, Qt::transparent);
  palette.setColor(QPalette::Disabled, QPalette::Highlight, Theme::line());
  palette.setColor(QPalette::Disabled, QPalette::HighlightedText, Theme::muted());
  return palette;
}

void applyApplicationLook(QApplication& application) {
  application.setStyle(new LookStyle);
  const QPalette palette = darkPalette();
  application.setPalette(palette);
  QToolTip::setPalette(palette);
  const QFont font = Theme::font(Theme::kBodySize);
  application.setFont(font);
  QToolTip::setFont(Theme::captionFont());
}

}  // namespace kesta::ui
