#pragma once

#include <QSize>
#include <QString>
#include <optional>

#include "ui/look/theme.h"

namespace kesta::ui {

// Which of the two top-level windows is on screen: the full window or the
// corner card. The chosen mode is kept by the model (`compact` is true for
// the card), so it survives a restart; each window's top-left corner is kept
// under its position key. Sizes are content sizes in points.
enum class WindowMode { full, mini };

// The stored name of `mode`: "full" or "mini".
inline QString rawValue(WindowMode mode) { return mode == WindowMode::mini ? "mini" : "full"; }

// The mode named `raw`; none for any other text.
inline std::optional<WindowMode> windowModeFromRaw(const QString& raw) {
  if (raw == "full") return WindowMode::full;
  if (raw == "mini") return WindowMode::mini;
  return std::nullopt;
}

// The content size of the window shown in `mode`.
inline QSize contentSize(WindowMode mode) {
  return mode == WindowMode::mini ? QSize(Theme::kCardWidth, Theme::kCardHeight)
                                  : QSize(Theme::kFullWidth, Theme::kFullHeight);
}

// The key under which the window's top-left corner is kept: "card" for the
// corner card, "full" for the full window.
inline QString positionKey(WindowMode mode) { return mode == WindowMode::mini ? "card" : "full"; }

}  // namespace kesta::ui
