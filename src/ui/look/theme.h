#pragma once

#include <QColor>
#include <QFont>
#include <QtGlobal>

namespace kesta::ui {

// The one palette and the one set of sizes of the user interface. Every
// colour is opaque sRGB, made once on first use and shared afterwards; a view
// that needs a tint applies an opacity where it uses the colour (`faded`).
// Sizes are in points, which are Qt logical pixels here (96 per inch), so the
// look does not depend on the screen's DPI. Main thread only, like all of Qt
// Gui; the colours are immutable once made.
class Theme {
 public:
  Theme() = delete;

  static const QColor& background();
  static const QColor& panel();
  static const QColor& raised();
  static const QColor& line();
  static const QColor& lime();
  static const QColor& muted();
  static const QColor& warn();
  static const QColor& text();

  // `color` at `opacity` (0 to 1), for drawing over whatever lies below.
  static QColor faded(const QColor& color, qreal opacity);

  // The pinned typeface: every text of the interface is set in it, so the
  // pictures are the same on every machine.
  static constexpr const char* kFontFamily = "DejaVu Sans";
  static constexpr const char* kMonospacedFamily = "DejaVu Sans Mono";

  // The weights the views ask for. The pinned typeface has a regular and a
  // bold cut only, so semibold and heavy are set bold.
  enum class Weight { regular, semibold, bold, heavy };

  // The pinned typeface at `size` points with `tracking` points between
  // letters. Half points are rounded up: a font has whole pixel sizes only.
  static QFont font(qreal size, Weight weight = Weight::regular, qreal tracking = 0);
  static QFont monospacedFont(qreal size, Weight weight = Weight::regular);
  // The platform's caption and callout text styles.
  static QFont captionFont();
  static QFont calloutFont();

  // Text styles.
  static constexpr qreal kBodySize = 13;
  static constexpr qreal kCaptionSize = 10;
  static constexpr qreal kCalloutSize = 12;

  // The second caption style: dates and marks in the set history.
  static constexpr qreal kCaption2Size = 9;

  // Suggestion lanes of the full window: one row per lane.
  static constexpr int kLaneRowHeight = 58;
  static constexpr int kLaneRowPadding = 8;
  static constexpr int kLaneRowSpacing = 8;
  static constexpr int kLaneLabelWidth = 50;
  static constexpr qreal kLaneLabelFontSize = 9;
  static constexpr qreal kLaneLabelTracking = 0.6;
  static constexpr qreal kLaneTitleFontSize = 13;
  static constexpr qreal kLaneDetailFontSize = 10;
  static constexpr qreal kLaneCaveatFontSize = 9;
  static constexpr qreal kCaveatOpacity = 0.8;
  static constexpr int kLaneLineSpacing = 1;
  static constexpr int kTempoColumnWidth = 44;
  static constexpr qreal kLaneBpmFontSize = 12;
  static constexpr qreal kLaneKeyFontSize = 10;
  static constexpr int kLaneButtonColumnWidth = 16;
  static constexpr int kLaneButtonSpacing = 2;
  static constexpr qreal kLaneNextSymbolSize = 10;
  static constexpr qreal kLaneHideSymbolSize = 9;
  static constexpr qreal kLaneEmptyFontSize = 10;
  static constexpr qreal kRowRadius = 7;

  // Suggestion lanes of the corner card: one line per lane.
  static constexpr int kCardLaneRowHeight = 32;
  static constexpr int kCardLaneRowPadding = 7;
  static constexpr int kCardLaneRowSpacing = 7;
  static constexpr int kCardLaneLabelWidth = 44;
  static constexpr qreal kCardLaneLabelFontSize = 8.5;
  static constexpr qreal kCardLaneLabelTracking = 0.5;
  static constexpr qreal kCardLaneTitleFontSize = 11.5;
  static constexpr qreal kCardLaneArtistFontSize = 9;
  static constexpr qreal kCardLaneTempoFontSize = 10.5;
  static constexpr qreal kCardLaneNextSymbolSize = 9.5;
  static constexpr qreal kCardLaneHideSymbolSize = 8.5;
  static constexpr qreal kCardLaneEmptyFontSize = 9.5;

  // The one-click load button beside a suggestion.
  static constexpr qreal kLoadButtonFontSize = 9;
  static constexpr qreal kLoadButtonPaddingX = 5;
  static constexpr qreal kLoadButtonPaddingY = 3;
  static constexpr qreal kLoadButtonRadius = 4;

  // The deck cards.
  static constexpr int kDeckCardHeight = 50;
  static constexpr int kDeckCardPadding = 8;
  static constexpr int kDeckCardSpacing = 2;
  static constexpr int kDeckBadgeSpacing = 4;
  static constexpr qreal kDeckLabelFontSize = 9;
  static constexpr qreal kDeckLabelTracking = 1;
  static constexpr qreal kDeckBadgeFontSize = 8;
  static constexpr qreal kDeckTitleFontSize = 11;
  static constexpr qreal kDeckMetaFontSize = 9;
  static constexpr qreal kDeckCardFollowedOutline = 0.7;

  // The now-playing block: always two rows in this height.
  static constexpr int kNowPlayingHeight = 42;
  static constexpr int kNowPlayingSpacing = 2;
  static constexpr qreal kNowPlayingTitleFontSize = 17;
  static constexpr qreal kNowPlayingQuestionFontSize = 15;
  static constexpr qreal kNowPlayingEmptyFontSize = 16;
  static constexpr int kVersionChipSpacing = 6;

  // The set history sheet.
  static constexpr int kSetCardSpacing = 10;
  static constexpr int kSetCardPadding = 10;
  static constexpr int kSetCardLineSpacing = 4;
  static constexpr int kSetRowSpacing = 8;
  static constexpr qreal kSetCardRadius = 8;
  static constexpr int kSetTimeColumnWidth = 58;
  static constexpr int kSetLaneColumnWidth = 50;

  // The mark: corner radius, fill opacity and stroke width relative to its size.
  static constexpr qreal kMarkCornerRatio = 0.28;
  static constexpr qreal kMarkFillOpacity = 0.16;
  static constexpr qreal kMarkStrokeRatio = 0.075;
  static constexpr qreal kMarkMinimumStroke = 1.5;
  static constexpr qreal kMarkSymbolRatio = 0.52;

  // Chip buttons.
  static constexpr qreal kChipFontSize = 11;
  static constexpr qreal kChipPaddingX = 9;
  static constexpr qreal kChipPaddingY = 5;
  static constexpr qreal kChipRadius = 6;
  static constexpr qreal kChipIconSpacing = 4;
  static constexpr qreal kChipPressedProminent = 0.7;
  static constexpr qreal kChipPressedPlain = 0.6;
  static constexpr qreal kChipDisabledOpacity = 0.4;

  // The live dot.
  static constexpr qreal kDotDiameter = 7;
  static constexpr qreal kDotSpacing = 5;
  static constexpr qreal kDotFontSize = 9;
  static constexpr qreal kDotTracking = 1.1;

  // Section captions.
  static constexpr qreal kSectionFontSize = 9;
  static constexpr qreal kSectionTracking = 1.3;

  // Status texts: each line is this tall, whatever the text.
  static constexpr qreal kStatusLineHeight = 15;

  // Sheets.
  static constexpr int kSheetWidth = 520;
  static constexpr int kSheetHeight = 460;
  static constexpr int kSheetPadding = 18;
  static constexpr int kSheetSpacing = 12;
};

}  // namespace kesta::ui
