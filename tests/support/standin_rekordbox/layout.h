#pragma once

#include <QRectF>
#include <QSize>

// Where the stand-in draws what the reader looks at, as fractions of the
// window: the two deck title areas where the reader crops them by default, and
// the mixer's channels 1 and 2 inside the strip in which the reader looks for
// the mixer.
namespace standin::layout {

inline const QRectF kDeck1{0.015, 0.12, 0.475, 0.26};
inline const QRectF kDeck2{0.51, 0.12, 0.475, 0.26};

// Deck text keeps clear of the mixer, which overlaps the inner deck edges.
inline constexpr double kMixerLeft = 0.445;
inline constexpr double kMixerRight = 0.555;
inline constexpr double kMixerClearance = 0.05;

// Centre x of each channel's column, and centre y of each printed label.
inline constexpr double kChannelX[2] = {0.4725, 0.5275};
inline constexpr double kTrimY = 0.125;
inline constexpr double kHighY = 0.17;
inline constexpr double kMidY = 0.22;
inline constexpr double kLowY = 0.27;
inline constexpr double kCueY = 0.33;
inline constexpr double kStemY = 0.56;

inline QRectF scaled(const QRectF& fraction, QSize window) {
  return {fraction.x() * window.width(), fraction.y() * window.height(), fraction.width() * window.width(),
          fraction.height() * window.height()};
}

}  // namespace standin::layout
