#include "mixer_panel.h"

#include <QFontMetricsF>
#include <algorithm>

#include "layout.h"

namespace standin {

namespace {

const QColor kBackground{0x1c, 0x1c, 0x1e};
const QColor kLabel{0xb8, 0xb8, 0xb8};
const QColor kKnob{0x3a, 0x3a, 0x3e};
const QColor kKnobMark{0xd0, 0xd0, 0xd0};
const QColor kEqArc{0x1e, 0x90, 0xff};
const QColor kTrack{0x40, 0x40, 0x44};
const QColor kHandle{0xec, 0xec, 0xec};

// The label geometry the reader derives its fader and knob positions from:
// the knob step is half the distance HIGH → LOW, a knob sits 0.44 steps above
// its label, and the fader travel runs from 0.207 to 0.815 of the span CUE → STEM.
constexpr double kStep = (layout::kLowY - layout::kHighY) / 2;
constexpr double kSpan = layout::kStemY - layout::kCueY;
constexpr double kFaderTop = layout::kCueY + kSpan * 0.207;
constexpr double kFaderBottom = layout::kCueY + kSpan * 0.815;

}  // namespace

void MixerPanel::setFader(int channel, double value) {
  channels_[std::size_t(channel - 1)].fader = std::clamp(value, 0.0, 1.0);
}

void MixerPanel::setEq(int channel, Band band, double value) {
  channels_[std::size_t(channel - 1)].eq[band] = std::clamp(value, -1.0, 1.0);
}

std::optional<MixerPanel::Band> MixerPanel::band(const QString& name) {
  if (name == "high") return high;
  if (name == "mid") return mid;
  if (name == "low") return low;
  return std::nullopt;
}

void MixerPanel::paint(QPainter& painter, QSize window) const {
  const double w = window.width();
  const double h = window.height();
  painter.fillRect(
      QRectF(layout::kMixerLeft * w, 0.10 * h, (layout::kMixerRight - layout::kMixerLeft) * w, 0.48 * h),
      kBackground);

  QFont font("DejaVu Sans");
  font.setPixelSize(std::max(8, int(h * 0.012)));
  painter.setFont(font);
  const double labelHeight = QFontMetricsF(font).height();

  for (int c = 0; c < 2; ++c) {
    const Channel& channel = channels_[std::size_t(c)];
    const double x = layout::kChannelX[c] * w;

    const auto label = [&](const char* text, double cy) {
      painter.setPen(kLabel);
      painter.drawText(QRectF(x - 40, cy * h - labelHeight / 2, 80, labelHeight), Qt::AlignCenter, text);
    };
    label("TRIM", layout::kTrimY);
    label("HIGH", layout::kHighY);
    label("MID", layout::kMidY);
    label("LOW", layout::kLowY);
    label("CUE", layout::kCueY);
    label("STEM", layout::kStemY);

    // EQ knobs: a turned knob shows a blue arc from its top toward its value.
    const double radius = kStep * 0.24 * h;
    const double labels[3] = {layout::kHighY, layout::kMidY, layout::kLowY};
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int b = 0; b < 3; ++b) {
      const QPointF centre(x, (labels[b] - kStep * 0.44) * h);
      painter.setPen(Qt::NoPen);
      painter.setBrush(kKnob);
      painter.drawEllipse(centre, radius, radius);
      const double value = channel.eq[std::size_t(b)];
      if (value != 0) {
        painter.setPen(QPen(kEqArc, std::max(2.0, radius * 0.42), Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        const double r = radius * 1.05;
        painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 90 * 16,
                        int(-value * 150 * 16));
      }
      painter.setPen(QPen(kKnobMark, 2));
      painter.drawLine(centre, centre + QPointF(0, -radius * 0.8));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Fader: a dark track and a light handle at the fader's value.
    const double top = kFaderTop * h;
    const double bottom = kFaderBottom * h;
    painter.fillRect(QRectF(x - 2, top, 4, bottom - top), kTrack);
    const double handleWidth = kSpan * 0.14 * h * 1.6;
    const double handleHeight = std::max(6.0, (bottom - top) * 0.06);
    const double at = bottom - channel.fader * (bottom - top);
    painter.fillRect(QRectF(x - handleWidth / 2, at - handleHeight / 2, handleWidth, handleHeight), kHandle);
  }
}

}  // namespace standin
