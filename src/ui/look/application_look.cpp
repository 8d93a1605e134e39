#include "ui/look/application_look.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QToolTip>

#include "ui/look/theme.h"

namespace kesta::ui {

namespace {

// Fusion, except for a menu's divider: Fusion draws it a shade darker than
// the menu, which on the dark palette cannot be seen.
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
