#include "ui/look/theme.h"

#include <QtMath>

namespace kesta::ui {

namespace {

QColor srgb(float red, float green, float blue) { return QColor::fromRgbF(red, green, blue); }

// The theme's points are logical pixels, 96 to the inch; Qt's points are 72 to it.
qreal qtPoints(qreal points) { return qMax(0.5, points) * 72.0 / 96.0; }

QFont::Weight qtWeight(Theme::Weight weight) {
  switch (weight) {
    case Theme::Weight::regular:
      return QFont::Normal;
    case Theme::Weight::semibold:
      return QFont::DemiBold;
    case Theme::Weight::bold:
      return QFont::Bold;
    case Theme::Weight::heavy:
      return QFont::ExtraBold;
  }
  return QFont::Normal;
}

// `first`, then every fallback family in order.
QStringList withFallbacks(const char* first) {
  return QStringList{QString::fromLatin1(first)} + Theme::fallbackFamilies();
}

}  // namespace

const QColor& Theme::background() {
  static const QColor color = srgb(0.055f, 0.067f, 0.055f);
  return color;
}

const QColor& Theme::panel() {
  static const QColor color = srgb(0.09f, 0.11f, 0.09f);
  return color;
}

const QColor& Theme::raised() {
  static const QColor color = srgb(0.13f, 0.17f, 0.11f);
  return color;
}

const QColor& Theme::line() {
  static const QColor color = srgb(0.22f, 0.26f, 0.21f);
  return color;
}

const QColor& Theme::lime() {
  static const QColor color = srgb(0.81f, 1.0f, 0.4f);
  return color;
}

const QColor& Theme::muted() {
  static const QColor color = srgb(0.64f, 0.68f, 0.62f);
  return color;
}

const QColor& Theme::warn() {
  static const QColor color = srgb(1.0f, 0.72f, 0.35f);
  return color;
}

const QColor& Theme::text() {
  static const QColor color = srgb(0.95f, 0.95f, 0.95f);
  return color;
}

QColor Theme::faded(const QColor& color, qreal opacity) {
  QColor out = color;
  out.setAlphaF(float(qBound(0.0, opacity, 1.0) * color.alphaF()));
  return out;
}

QStringList Theme::fallbackFamilies() {
  static const QStringList families{QString::fromLatin1(hanFamily(desktopLanguage())),
                                    QStringLiteral("Noto Sans Arabic"),
                                    QStringLiteral("Noto Sans Hebrew"),
                                    QStringLiteral("Noto Sans Thai"),
                                    QStringLiteral("Noto Sans Devanagari"),
                                    QStringLiteral("Noto Color Emoji"),
                                    QStringLiteral("DejaVu Sans")};
  return families;
}

const char* Theme::hanFamily(const QString& locale) {
  // "zh_TW.UTF-8@euro", "zh-tw:en", "zh_Hant_HK": language, then script or territory.
  const QString name =
      locale.section(QLatin1Char(':'), 0, 0).section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
  const QStringList parts =
      QString(name).replace(QLatin1Char('-'), QLatin1Char('_')).toLower().split(QLatin1Char('_'));
  const QString& language = parts.first();
  if (language == QLatin1String("ko")) return "Noto Sans CJK KR";
  if (language != QLatin1String("zh")) return "Noto Sans CJK JP";
  if (parts.contains(QLatin1String("hk")) || parts.contains(QLatin1String("mo"))) return "Noto Sans CJK HK";
  if (parts.contains(QLatin1String("tw")) || parts.contains(QLatin1String("hant"))) return "Noto Sans CJK TC";
  return "Noto Sans CJK SC";
}

QString Theme::desktopLanguage() {
  for (const char* variable : {"FC_LANG", "LC_ALL", "LC_CTYPE", "LANG"}) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty()) return value;
  }
  return {};
}

QFont Theme::font(qreal size, Weight weight, qreal tracking) {
  QFont font;
  font.setFamilies(withFallbacks(kFontFamily));
  font.setPointSizeF(qtPoints(size));
  font.setWeight(qtWeight(weight));
  if (tracking != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
  return font;
}

QFont Theme::monospacedFont(qreal size, Weight weight) {
  QFont font;
  font.setFamilies(withFallbacks(kMonospacedFamily));
  font.setStyleHint(QFont::Monospace);
  font.setPointSizeF(qtPoints(size));
  font.setWeight(qtWeight(weight));
  return font;
}

QFont Theme::captionFont() { return font(kCaptionSize); }

QFont Theme::calloutFont() { return font(kCalloutSize); }

}  // namespace kesta::ui
