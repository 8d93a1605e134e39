#include "drawn_line.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextOption>
#include <cstdlib>
#include <memory>

namespace kesta::test {

namespace {

// Fonts need a GUI application, offscreen here: one for the test program,
// ended with its tests so that the font caches go before the leak check.
class OffscreenGui : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "platform_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

[[maybe_unused]] const ::testing::Environment* const gui =
    ::testing::AddGlobalTestEnvironment(new OffscreenGui);

}  // namespace

QFont deckFont(const QString& text, int pixels) {
  QFont font;
  font.setFamilies(text.contains(QRegularExpression("[\\x{0590}-\\x{06FF}]"))
                       ? QStringList{"Noto Sans Arabic", "Noto Sans Hebrew", "Noto Sans"}
                       : QStringList{"Noto Sans"});
  font.setPixelSize(pixels);
  return font;
}

Image drawnLine(const QString& text, int pixels, double width, const Paint& paint) {
  const QFont font = deckFont(text, pixels);
  const QFontMetricsF metrics(font);
  width *= metrics.horizontalAdvance(text);
  QImage canvas(int(width) + 2 * pixels, 4 * pixels, QImage::Format_RGBA8888);
  canvas.fill(QColor(0x16, 0x16, 0x18));
  QPainter painter(&canvas);
  painter.setFont(font);
  painter.setPen(QColor(0xf2, 0xf2, 0xf2));
  paint(painter, metrics, QRectF(pixels, 0, width + 1, canvas.height()));
  painter.end();
  return imageOf(canvas);
}

Paint elided(const QString& title, bool cut) {
  return [=](QPainter& painter, const QFontMetricsF& metrics, QRectF field) {
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    option.setTextDirection(title.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    painter.drawText(field, cut ? metrics.elidedText(title, Qt::ElideRight, field.width() - 1) : title,
                     option);
  };
}

Image imageOf(const QImage& picture) {
  const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
  return Image(rgba.width(), rgba.height(), std::size_t(rgba.bytesPerLine()),
               {rgba.constBits(), rgba.constBits() + rgba.sizeInBytes()});
}

}  // namespace kesta::test
