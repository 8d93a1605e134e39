#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <set>
#include <string>

#include "ui/look/chip_button.h"
#include "ui/views/card_lane_row.h"
#include "ui/views/corner_card.h"
#include "ui/views/deck_card.h"
#include "ui/views/deck_choice.h"
#include "ui/views/lane_row.h"
#include "ui/views/now_playing.h"
#include "ui/views/root_view.h"
#include "ui/views/text_line.h"
#include "ui/views/view_scenes.h"

namespace kesta::ui {
namespace {

using test::ViewStage;

// Forty characters of `text`, padded with wide letters: the longest titles
// (and artists) the windows must show without losing tempo or key.
std::string forty(std::string text) {
  text.resize(40, 'W');
  return text;
}

Track track(std::string id, const std::string& title, const std::string& artist, double bpm,
            std::string key) {
  Track out = kesta::test::libraryTrack(std::move(id), forty(title), forty(artist), bpm, std::move(key));
  out.durationSeconds = 400;
  return out;
}

// Long titles and artists with wide tempos and keys; "7" to "9" are versions
// of one song, "7" and "9" alike in all but their entries; "10" is short.
Library longLibrary() {
  Track extended =
      kesta::test::libraryTrack("7", "Velvet Thunder (Extended Mix)", "Kasimir Grey", 124.0, "8A");
  Track original = extended;
  original.id = "8";
  original.key = StableKey{"meta:8"};
  original.title = "Velvet Thunder (Original Mix)";
  Track copy = extended;
  copy.id = "9";
  copy.key = StableKey{"meta:9"};
  return kesta::test::libraryOf({
      kesta::test::libraryTrack("1", forty("Adagio for Strings (Extended Festival Mix)"),
                                "A Collective Of Far Too Many Featured Artists And Their Friends", 123.5,
                                "10A"),
      track("2", "Midnight Signals From The Golden Hour", "Oslo Drift and The Harbour Lights", 124.5, "11A"),
      track("3", "Harbour Lights Over The Northern Sea", "Mara Lind featuring Dune Pilots", 122.5, "10B"),
      track("4", "Rise Up Slowly And Then Fall Back Down", "Halcyon Rae with June Harlow", 126.5, "12A"),
      track("5", "Night Ferry To The Islands (Dub Version)", "The Vagrants of Every Northern", 127.5, "11B"),
      track("6", "Copper Sky Above The Old Harbour (Edit)", "Ebb and Flow and The Long Names", 128.5, "9A"),
      extended,
      original,
      copy,
      kesta::test::libraryTrack("10", "Strobe", "deadmau5", 128.0, "8A"),
  });
}

QString text(const std::string& value) { return QString::fromStdString(value); }

QString tempoAndKey(const Track& t) {
  return text(t.displayBPM()) + QStringLiteral(" BPM · ") + text(t.displayKey());
}

class FitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stage.install(longLibrary());
    stage.model().setOneClickLoad(true);
    stage.connect();
  }

  using ChipRows = std::vector<std::pair<const char*, std::vector<ChipButton*>>>;

  // Deck 1 holds one of `versions`: the version chips of both windows.
  ChipRows versionChips(const DeckContent& versions) {
    stage.deliver({versions, DeckContent::empty()}, 1);
    root_ = std::make_unique<RootView>(stage.bridge(), [](WindowMode) {});
    root_->show();
    card_ = std::make_unique<CornerCard>(stage.bridge(), [] {});
    card_->show();
    QApplication::processEvents();
    return {{"full", root_->findChild<NowPlaying*>()->versionChips()}, {"card", card_->versionChips()}};
  }

  void follow() {
    stage.deliver({DeckContent::track("1"), DeckContent::track("2")}, 1, TrackerPhase::following,
                  ReaderHealth::reading(),
                  {TrackerEvent::load(1, DeckContent::track("1"), DeckContent::empty(), 999.2)});
    stage.finishWork();
  }

  const Track& library(const std::string& id) { return *stage.model().index().track(id); }

  ViewStage stage;
  std::unique_ptr<RootView> root_;
  std::unique_ptr<CornerCard> card_;
};

TEST_F(FitTest, FullWindowKeepsTempoAndKeyOfDecksNowPlayingAndSuggestions) {
  follow();
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  QApplication::processEvents();

  for (const DeckCard* card : root.findChildren<DeckCard*>()) {
    const Track& held = library(std::to_string(card->deck()));
    EXPECT_TRUE(card->metaLine()->shownText().endsWith(tempoAndKey(held)))
        << qPrintable(card->metaLine()->shownText());
    EXPECT_NE(card->metaLine()->shownText(), card->metaLine()->text()) << "the artist is cut first";
  }
  const NowPlaying* playing = root.findChild<NowPlaying*>();
  const QString readout = playing->readout()->shownText();
  EXPECT_TRUE(readout.endsWith(tempoAndKey(library("1")) + QStringLiteral(" · Deck 1")))
      << qPrintable(readout);
  EXPECT_NE(readout, playing->readout()->text()) << "the artist is cut first";

  int suggestions = 0;
  for (const LaneRow* row : root.findChildren<LaneRow*>()) {
    if (!row->bpmLine()->isVisible()) continue;
    ++suggestions;
    for (const TextLine* line : {row->bpmLine(), row->keyLine()}) {
      EXPECT_EQ(line->shownText(), line->text()) << row->lane().shortTitle();
    }
  }
  EXPECT_GT(suggestions, 0);
}

TEST_F(FitTest, CornerCardKeepsTempoAndKeyOfTheHeadingAndSuggestions) {
  follow();
  CornerCard card(stage.bridge(), [] {});
  card.show();
  QApplication::processEvents();

  const QString heading = card.subtitleLine()->shownText();
  EXPECT_TRUE(heading.startsWith(QStringLiteral("Deck 1 · "))) << qPrintable(heading);
  EXPECT_TRUE(heading.endsWith(tempoAndKey(library("1")))) << qPrintable(heading);
  int suggestions = 0;
  for (const CardLaneRow* row : card.findChildren<CardLaneRow*>()) {
    if (!row->tempoLine()->isVisible()) continue;
    ++suggestions;
    EXPECT_EQ(row->tempoLine()->shownText(), row->tempoLine()->text());
  }
  EXPECT_GT(suggestions, 0);
}

// The chips of versions that differ only in their mix, or not at all, read
// differently, and each keeps its tempo.
TEST_F(FitTest, VersionChipsOfLookAlikesDiffer) {
  const ChipRows rows = versionChips(DeckContent::ambiguous({"7", "8", "9"}));
  for (const auto& [window, chips] : rows) {
    ASSERT_EQ(chips.size(), 3u) << window;
    std::set<QString> shown;
    for (const ChipButton* chip : chips) {
      EXPECT_TRUE(chip->shownText().contains(QStringLiteral(" · 124")))
          << window << qPrintable(chip->shownText());
      shown.insert(chip->shownText());
    }
    EXPECT_EQ(shown.size(), chips.size()) << window;
  }
}

// A long label gives up room before a short one does.
TEST_F(FitTest, VersionChipsShareTheRowFairly) {
  const ChipRows rows = versionChips(DeckContent::ambiguous({"1", "10", "2"}));
  for (const auto& [window, chips] : rows) {
    ASSERT_EQ(chips.size(), 3u) << window;
    EXPECT_EQ(chips[1]->shownText(), QStringLiteral("\u2068Strobe\u2069 · 128")) << window;
    EXPECT_TRUE(chips[0]->shownText().endsWith(QStringLiteral("…\u2069 · 123.5"))) << window;
    EXPECT_TRUE(chips[2]->shownText().endsWith(QStringLiteral("…\u2069 · 124.5"))) << window;
  }
}

// The start-up question's chips say "Deck <n>: <title>" when both titles fit
// whole, and both say "D<n> · <title>" when either would be cut.
TEST_F(FitTest, DeckChoiceChipsShareOneForm) {
  const struct {
    const char* deck1;
    const char* deck2;
    const char* shown1;
    const char* shown2;
  } cases[] = {
      {"1", "3", "D1 · Adagio", "D2 · Harbour"},
      {"1", "10", "D1 · Adagio", "D2 · Strobe"},
      {"10", "1", "D1 · Strobe", "D2 · Adagio"},
      {"10", "10", "Deck 1: Strobe", "Deck 2: Strobe"},
  };
  for (const auto& c : cases) {
    stage.deliver({DeckContent::track(c.deck1), DeckContent::track(c.deck2)}, 0,
                  TrackerPhase::ambiguousStartup);
    CornerCard card(stage.bridge(), [] {});
    card.show();
    QApplication::processEvents();
    ASSERT_NE(card.deckChoice(), nullptr);
    const QString first = card.deckChoice()->chip(1)->shownText();
    const QString second = card.deckChoice()->chip(2)->shownText();
    const std::string where =
        std::string(c.deck1) + "+" + c.deck2 + ": " + qPrintable(first) + " | " + qPrintable(second);
    EXPECT_TRUE(first.startsWith(QString::fromUtf8(c.shown1))) << where;
    EXPECT_TRUE(second.startsWith(QString::fromUtf8(c.shown2))) << where;
  }
}

// Beside a reason of forty characters or more, a lane row of the full window
// still names the artist: at least its first word, then the reason cut at
// its end.
TEST(LaneRowFit, ArtistStaysBesideALongReason) {
  ViewStage stage;
  test::scene("long_reasons").setUp(stage);
  RootView root(stage.bridge(), [](WindowMode) {});
  root.show();
  QApplication::processEvents();
  int longReasons = 0;
  for (const LaneRow* row : root.findChildren<LaneRow*>()) {
    const auto suggestion = stage.model().suggestion(row->lane());
    if (!suggestion || suggestion->why.size() < 40) continue;
    ++longReasons;
    const TextLine& detail = *row->detailLine();
    // The artist is isolated in direction; the marks take no room.
    const QString shown = detail.shownText().remove(QChar(0x2068)).remove(QChar(0x2069));
    const QString artist = text(suggestion->track.displayArtist());
    const QString where = toQString(row->lane().shortTitle()) + ": " + shown;
    EXPECT_TRUE(shown.startsWith(artist.section(QLatin1Char(' '), 0, 0))) << qPrintable(where);
    EXPECT_TRUE(shown.contains(QStringLiteral(" · ") + text(suggestion->why).left(3))) << qPrintable(where);
    EXPECT_LE(QFontMetricsF(detail.textFont()).horizontalAdvance(shown), detail.width()) << qPrintable(where);
  }
  EXPECT_GT(longReasons, 0) << "the scene offers long reasons";
}

}  // namespace
}  // namespace kesta::ui
