#pragma once

#include <QAbstractButton>
#include <optional>

#include "ui/look/chip_style.h"

namespace kesta::ui {

// A push button drawn as a chip (`ChipStyle`): no hover highlight and no
// keyboard focus, so the windows never steal keys meant for rekordbox. Its
// natural size is the label's plus the padding; given less room, the text is
// cut at the end. Main thread only.
class ChipButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit ChipButton(const QString& text, bool prominent = false, QWidget* parent = nullptr);

  // The text as shown, '&' included: unlike other buttons, a chip takes no
  // keyboard shortcut from it (a track title is no mnemonic).
  void setText(const QString& text);
  // A text whose `tail` is never cut, and shorter forms of the whole for when
  // it does not fit (see ChipLabel); text() is then the first part.
  void setText(const QString& text, const QString& tail, const QStringList& shorter = {});
  // What the chip draws at its present width.
  QString shownText() const;

  bool isProminent() const { return style_.prominent; }
  void setProminent(bool prominent);
  // A symbol before the text, or none.
  void setSymbol(std::optional<Icon> symbol);
  // Replaces the chip's own 11-point semibold label font.
  void setLabelFont(const QFont& font);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ChipLabel label() const;

  ChipStyle style_;
  std::optional<Icon> symbol_;
  QFont font_;
  QString tail_;
  QStringList shorter_;
};

// The header chip that switches between the full window and the corner card:
// `symbol` before `text` in the mode chips' font, `toolTip` saying where it
// leads. Unparented, for a layout to take.
ChipButton* modeChip(const QString& text, Icon symbol, const QString& toolTip);

}  // namespace kesta::ui
