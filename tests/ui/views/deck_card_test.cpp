#include "ui/views/deck_card.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ui/look/chip_button.h"
#include "ui/views/now_playing.h"
#include "ui/views/sample_library.h"
#include "ui/views/text_line.h"

namespace kesta::ui {
namespace {

using test::sampleFocus;

class DeckViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.install(test::sampleLibrary());
    host.setFixedSize(380, 200);
    deck1 = new DeckCard(fake.bridge(), 1, &host);
    deck2 = new DeckCard(fake.bridge(), 2, &host);
    nowPlaying = new NowPlaying(fake.bridge(), &host);
    deck1->setGeometry(0, 0, 180, 50);
    deck2->setGeometry(190, 0, 180, 50);
    nowPlaying->setGeometry(0, 60, 380, 42);
    host.show();
  }
  void scan(DeckContent deck2Content, std::optional<Focus> focus,
            TrackerPhase phase = TrackerPhase::following, std::set<int> pending = {}) {
    fake.scan({DeckContent::track("1"), std::move(deck2Content)}, std::move(focus), phase, {},
              std::move(pending));
  }

  test::FakeDrivenModel fake;
  QWidget host;
  DeckCard* deck1 = nullptr;
  DeckCard* deck2 = nullptr;
  NowPlaying* nowPlaying = nullptr;
};

TEST_F(DeckViewsTest, CardShowsWhatTheDeckHolds) {
  EXPECT_EQ(deck2->titleLine()->text(), QStringLiteral("—"));  // unknown before Connect
  EXPECT_FALSE(deck2->isEnabled());
  fake.connect();

  struct Case {
    const char* name;
    DeckContent content;
    const char* title;
    const char* meta;
    bool enabled;
  };
  const std::vector<Case> cases{
      {"unknown", DeckContent::unknown(), "Reading…", " ", false},
      {"empty", DeckContent::empty(), "Empty", " ", false},
      {"track", DeckContent::track("9"), "Left Turn", "\u2068Kaleido\u2069 · 124 BPM · 3B", true},
      {"missing track", DeckContent::track("404"), "—", " ", true},
      {"ambiguous", DeckContent::ambiguous({"1", "11"}), "2 possible versions", " ", true},
      {"unmatched", DeckContent::unmatched("Some Bootleg"), "Not in your library", " ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scan(c.content, sampleFocus(1, DeckContent::track("1")));
    EXPECT_EQ(deck2->titleLine()->text(), QString::fromUtf8(c.title));
    EXPECT_EQ(deck2->metaLine()->text(), QString::fromUtf8(c.meta));
    EXPECT_EQ(deck2->isEnabled(), c.enabled);
  }
  const Track noTempo = test::sampleTrack("20", "Bare", "", std::nullopt, std::nullopt);
  fake.install({test::samplePlaying(), noTempo});
  scan(DeckContent::track("20"), sampleFocus(1, DeckContent::track("1")));
  EXPECT_EQ(deck2->metaLine()->text(), QStringLiteral("\u2068Unknown artist\u2069 · — BPM · —"));
}

TEST_F(DeckViewsTest, FollowedAndCheckingBadgesAndTheTapThatFollows) {
  EXPECT_FALSE(deck1->isFollowed());
  EXPECT_TRUE(deck1->followingBadge()->isHidden());
  EXPECT_EQ(deck1->deckLine()->color(), Theme::muted());
  fake.connect();
  scan(DeckContent::track("2"), sampleFocus(1, DeckContent::track("1")), TrackerPhase::following, {1});
  EXPECT_TRUE(deck1->isFollowed());
  EXPECT_FALSE(deck1->followingBadge()->isHidden());
  EXPECT_FALSE(deck1->checkingBadge()->isHidden());
  EXPECT_EQ(deck1->deckLine()->color(), Theme::lime());
  EXPECT_TRUE(deck2->followingBadge()->isHidden());
  EXPECT_TRUE(deck2->checkingBadge()->isHidden());
  EXPECT_EQ(deck2->toolTip(), QStringLiteral("Tap to follow this deck"));

  QTest::mouseClick(deck2, Qt::LeftButton);
  QTest::mouseClick(deck1, Qt::LeftButton);  // the followed deck is asked all the same
  const auto& calls = fake.engines->last()->calls;
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "chooseDeck(2,userChoice)"), 1);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "chooseDeck(1,userChoice)"), 1);
}

TEST_F(DeckViewsTest, NowPlayingSaysWhyNothingIsShown) {
  EXPECT_EQ(nowPlaying->headline()->text(), QStringLiteral("Not connected"));
  fake.connect();
  struct Case {
    const char* expected;
    DeckContent deck2;
    std::optional<Focus> focus;
    TrackerPhase phase;
  };
  const std::vector<Case> cases{
      {"Waiting for a load…", DeckContent::empty(), std::nullopt, TrackerPhase::waiting},
      {"Which deck are you mixing from?", DeckContent::track("2"), std::nullopt,
       TrackerPhase::ambiguousStartup},
      {"Deck 2: not in your library", DeckContent::unmatched("Bootleg"),
       sampleFocus(2, DeckContent::unmatched("Bootleg")), TrackerPhase::following},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    scan(c.deck2, c.focus, c.phase);
    EXPECT_EQ(nowPlaying->headline()->text(), QString::fromUtf8(c.expected));
    EXPECT_EQ(nowPlaying->readout()->text(), QStringLiteral(" "));
    EXPECT_TRUE(nowPlaying->versionChips().empty());
    EXPECT_EQ(nowPlaying->height(), 42);
  }
}

TEST_F(DeckViewsTest, NowPlayingShowsTheFollowedTrack) {
  fake.connect();
  scan(DeckContent::empty(), sampleFocus(1, DeckContent::track("1")));
  EXPECT_EQ(nowPlaying->headline()->text(), QStringLiteral("Velvet Thunder"));
  EXPECT_EQ(nowPlaying->readout()->text(),
            QStringLiteral("\u2068Kasimir Grey\u2069 · 124 BPM · 8A · Deck 1"));

  const std::string longTitle(120, 'L');
  std::vector<Track> tracks = test::sampleLibrary();
  tracks[0].title = longTitle;
  fake.install(tracks);
  scan(DeckContent::empty(), sampleFocus(1, DeckContent::track("1"), 2));
  EXPECT_EQ(nowPlaying->headline()->toolTip(), toQString(longTitle));
  EXPECT_TRUE(nowPlaying->headline()->shownText().endsWith(QStringLiteral("…")));
  EXPECT_EQ(nowPlaying->height(), 42);
}

TEST_F(DeckViewsTest, AmbiguousDeckOffersTheFirstThreeVersions) {
  fake.connect();
  std::vector<Track> tracks = test::sampleLibrary();
  for (int i = 0; i < 3; ++i) {  // five versions of the playing song in all
    tracks.push_back(
        test::sampleTrack(std::to_string(30 + i), "Velvet Thunder", "Kasimir Grey", 120 + i, "8A"));
  }
  fake.install(tracks);
  const DeckContent five = DeckContent::ambiguous({"1", "11", "12", "30", "31"});
  fake.scan({five, DeckContent::empty()}, sampleFocus(1, five));
  const std::vector<Track> candidates = fake.model().candidates(1);
  ASSERT_GE(candidates.size(), 4u);
  EXPECT_EQ(nowPlaying->headline()->text(), QStringLiteral("Which version is on Deck 1?"));
  std::vector<ChipButton*> chips = nowPlaying->versionChips();
  ASSERT_EQ(chips.size(), 3u);
  for (std::size_t i = 0; i < chips.size(); ++i) {  // the artist gives way so that every tempo shows
    EXPECT_TRUE(chips[i]->shownText().contains(toQString(" · " + candidates[i].displayBPM())))
        << chips[i]->shownText().toStdString();
    EXPECT_LE(chips[i]->geometry().right(), nowPlaying->width());
  }
  EXPECT_EQ(chips[0]->toolTip(),
            toQString("\u2068" + candidates[0].title + "\u2069 — \u2068" + candidates[0].displayArtist() +
                      "\u2069, " + candidates[0].displayBPM() + " BPM · " + candidates[0].displayKey()));

  fake.scan({five, DeckContent::track("2")},
            sampleFocus(1, five));  // a redraw with the same versions keeps the chips
  EXPECT_EQ(nowPlaying->versionChips(), chips);

  const DeckContent one = DeckContent::ambiguous({"12"});
  fake.scan({one, DeckContent::empty()}, sampleFocus(1, one, 3));
  ASSERT_EQ(fake.model().candidates(1).size(), 1u);
  ASSERT_EQ(nowPlaying->versionChips().size(), 1u);
  EXPECT_EQ(nowPlaying->versionChips()[0]->shownText(), QStringLiteral("\u2068Kasimir Grey\u2069 · 126"));

  fake.scan({five, DeckContent::empty()}, sampleFocus(1, five, 4));
  chips = nowPlaying->versionChips();
  ASSERT_EQ(chips.size(), 3u);
  QTest::mouseClick(chips[1], Qt::LeftButton);
  const auto& calls = fake.engines->last()->calls;
  EXPECT_EQ(calls.back(), "resolve(1," + candidates[1].id + ")");
}

}  // namespace
}  // namespace kesta::ui
