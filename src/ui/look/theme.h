#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
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
  // pictures are the same on every machine. It is drawn for screens, with a
  // real cut for every weight below, and sets Latin, Cyrillic and Greek.
  static constexpr const char* kFontFamily = "Inter";
  // What Inter lacks comes from the first of these that has it, always in
  // this order, never from whatever else the machine holds: kana, Hangul and
  // Han, Arabic, Hebrew, Thai and Devanagari from Noto, emoji in colour, and
  // DejaVu last for the symbols none of them has. The CJK face is the one of
  // the desktop's language (`hanFamily`), as fontconfig chooses it.
  static QStringList fallbackFamilies();
  // The Noto CJK face whose Han forms readers of `locale` expect: a POSIX
  // locale name ("zh_TW.UTF-8") or fontconfig's language ("zh-tw").
  // Simplified Chinese for zh_CN and zh_SG (and zh alone), traditional for
  // zh_TW and Hong Kong's for zh_HK and zh_MO, Korean for ko, Japanese for ja
  // and for every other language.
  static const char* hanFamily(const QString& locale);
  // The desktop's language as fontconfig reads it: FC_LANG, else LC_ALL,
  // LC_CTYPE and LANG, the first one set.
  static QString desktopLanguage();
  static constexpr const char* kMonospacedFamily = "DejaVu Sans Mono";

  // The weights the views ask for, each a cut of its own.
  enum class Weight { regular, semibold, bold, heavy };

  // The pinned typeface at `size` points with `tracking` points between
  // letters. The size is asked for with its fraction; Qt's font matching
  // sets text at whole pixels, so 8.5 is drawn at 9 and 11.5 at 12.
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

  // The full window: its content size, the content inset from the window's
  // edges, then one column of blocks.
  static constexpr int kFullWidth = 380;
  static constexpr int kFullHeight = 660;
  static constexpr int kFullInsetX = 14;
  static constexpr int kFullInsetTop = 26;
  static constexpr int kFullInsetBottom = 12;
  static constexpr int kFullSpacing = 9;
  static constexpr int kFullHeaderHeight = 22;
  static constexpr int kFullHeaderSpacing = 8;
  static constexpr qreal kFullMarkSize = 20;
  static constexpr qreal kFullNameFontSize = 16;
  static constexpr qreal kFullVersionFontSize = 9;
  static constexpr qreal kModeChipFontSize = 10;
  static constexpr int kSetupSpacing = 6;
  static constexpr int kSetupPadding = 9;
  static constexpr qreal kSetupRadius = 9;
  static constexpr int kMenuButtonWidth = 22;
  static constexpr int kMenuDividerInset = 5;
  static constexpr qreal kMenuSymbolSize = 16;
  static constexpr qreal kSummaryFontSize = 10;
  static constexpr int kDeckRowSpacing = 7;
  static constexpr int kFollowingSpacing = 4;
  static constexpr qreal kWrongTrackFontSize = 9;
  static constexpr int kPoolRowHeight = 22;
  static constexpr int kPoolRowSpacing = 6;
  static constexpr int kPoolMaxWidth = 220;
  static constexpr qreal kPoolFontSize = 10;
  static constexpr qreal kPoolChevronSize = 9;
  static constexpr qreal kPoolChevronSpacing = 5;
  static constexpr qreal kPoolPaddingX = 4;
  static constexpr int kLaneListSpacing = 5;
  static constexpr int kFooterHeight = 24;
  static constexpr int kFooterSpacing = 8;
  static constexpr qreal kFooterFontSize = 10;

  // The stars of the followed track: each in a cell a little larger than it.
  static constexpr qreal kStarSize = 10;
  static constexpr int kStarCellWidth = 14;
  static constexpr int kStarCellHeight = 18;
  static constexpr int kStarSpacing = 1;

  // The corner card: exactly the card window's size, nothing scrolls.
  static constexpr int kCardWidth = 340;
  static constexpr int kCardHeight = 224;
  static constexpr int kCardPaddingX = 12;
  static constexpr int kCardPaddingY = 10;
  static constexpr int kCardSpacing = 5;
  static constexpr qreal kCardRadius = 14;
  static constexpr qreal kCardBackgroundOpacity = 0.97;
  static constexpr qreal kCardOutlineOpacity = 0.9;
  static constexpr int kCardHeaderHeight = 32;
  static constexpr int kCardHeaderSpacing = 8;
  static constexpr qreal kCardMarkSize = 18;
  static constexpr qreal kCardTitleFontSize = 12.5;
  static constexpr qreal kCardSmallFontSize = 9.5;
  static constexpr qreal kCardStartupFontSize = 11;
  static constexpr qreal kCardVersionFontSize = 12;
  static constexpr int kDeckChoiceHeight = 30;
  static constexpr int kDeckChoiceSpacing = 8;
  static constexpr int kCardLaneListSpacing = 3;
  // The footer is as tall as its Undo chip, which is large enough to hit
  // without looking.
  static constexpr int kCardFooterHeight = 19;
  static constexpr int kCardFooterSpacing = 6;
  static constexpr qreal kCardUndoFontSize = 9.5;

  // The library and diagnostics sheets.
  static constexpr int kReportSpacing = 8;
  static constexpr int kReportClosingPadding = 6;
  static constexpr qreal kDiagnosticsFontSize = 10;
  static constexpr qreal kDiagnosticsButtonFontSize = 10;

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

  // Questions asked before an action ("End this set?"): the message takes
  // at most this many lines, in a box no wider than the window.
  static constexpr int kQuestionPadding = 16;
  static constexpr int kQuestionSpacing = 6;
  static constexpr int kQuestionButtonsTop = 8;
  static constexpr int kQuestionMaxWidth = 348;
  static constexpr int kQuestionMessageLines = 2;
  static constexpr qreal kQuestionTitleFontSize = 13;
  static constexpr qreal kQuestionMessageFontSize = 11;

  // Tick boxes: the box's edge and the tick's stroke.
  static constexpr qreal kCheckBoxRadius = 3;
  static constexpr qreal kCheckBoxEdge = 1;
};

}  // namespace kesta::ui
