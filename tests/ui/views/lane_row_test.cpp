#include "ui/views/lane_row.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ui/views/card_lane_row.h"
#include "ui/views/load_button.h"
#include "ui/views/sample_library.h"
#include "ui/views/symbol_button.h"
#include "ui/views/text_line.h"

namespace kesta::ui {
namespace {

using test::FakeDrivenModel;
using test::followSample;
using test::sampleTrack;

// Every lane's full and compact row side by side in a window of the full
// window's width.
class LaneRowTest : public ::testing::Test {
 protected:
  void build() {
    host.setFixedWidth(364);
    for (const Lane lane : Lane::allCases()) {
      rows.push_back(new LaneRow(fake.bridge(), lane, &host));
      cards.push_back(new CardLaneRow(fake.bridge(), lane, &host));
      rows.back()->setGeometry(0, 100 * int(rows.size()), 364, rows.back()->height());
      cards.back()->setGeometry(0, 100 * int(rows.size()) + 60, 320, cards.back()->height());
    }
    host.show();
    QApplication::processEvents();
  }
  LaneRow& row(Lane lane) { return *rows.at(lane); }
  CardLaneRow& card(Lane lane) { return *cards.at(lane); }

  FakeDrivenModel fake;
  QWidget host;
  std::vector<LaneRow*> rows;
  std::vector<CardLaneRow*> cards;
};

TEST_F(LaneRowTest, EmptyLanesSayWhyAndKeepTheirHeight) {
  // Nothing followed yet; then a ranking under way; then a followed track
  // whose lanes have nothing, with and without the model's reason.
  fake.install({sampleTrack("1", "Only One", "Solo", 124, "8A"), sampleTrack("2", "No Tempo", "X", {}, {})});
  build();
  const QString blank = QStringLiteral(" ");
  EXPECT_EQ(row(Lane::groove).emptyLine()->text(), "Suggestions appear once Kesta knows the loaded track.");
  // Every lane has two lines for the model's reasons, which run long.
  for (const Lane lane : Lane::allCases()) EXPECT_EQ(row(lane).emptyLine()->lines(), 2);
  for (const Lane lane : {Lane::raise, Lane::breather, Lane::pivot}) {
    EXPECT_EQ(row(lane).emptyLine()->text(), blank);
    EXPECT_EQ(card(lane).emptyLine()->text(), blank);
  }

  fake.connect();
  EngineUpdate update;
  update.decks = {DeckContent::track("1"), DeckContent::empty()};
  update.focus = test::sampleFocus(1, DeckContent::track("1"));
  update.phase = TrackerPhase::following;
  update.health = ReaderHealth::reading();
  fake.engines->last()->deliver(update);
  fake.queue->drain();
  ASSERT_TRUE(fake.model().ranking());
  for (const Lane lane : Lane::allCases()) EXPECT_EQ(row(lane).emptyLine()->text(), QStringLiteral("…"));

  fake.settle();
  ASSERT_FALSE(fake.model().ranking());
  // The only other track has no tempo: nothing fits any lane.
  struct Row {
    Lane lane;
    QString reason;  // the full row's text and tooltip
    QString brief;   // the card's text
  };
  const Row expected[] = {
      {Lane::groove, "Nothing unused within ±3% tempo in a compatible key.",
       "Nothing unused within ±3% in a fitting key."},
      {Lane::raise, "Nothing unused that steps up while keeping the key compatible.",
       "Nothing unused steps up in a fitting key."},
      {Lane::breather, "Nothing unused that steps down while keeping the key compatible.",
       "Nothing unused steps down in a fitting key."},
      {Lane::pivot, "No track in this pool changes key by 2+ Camelot steps within a usable tempo range.",
       "No 2+ step key change at a usable tempo."},
  };
  for (const auto& [lane, reason, brief] : expected) {
    SCOPED_TRACE(std::string(lane.id()));
    EXPECT_EQ(row(lane).emptyLine()->text(), reason);
    EXPECT_EQ(row(lane).emptyLine()->toolTip(), reason);
    EXPECT_EQ(card(lane).emptyLine()->text(), brief);
    EXPECT_TRUE(row(lane).suggestionBlock()->isHidden());
    EXPECT_EQ(row(lane).height(), 58);
    EXPECT_EQ(card(lane).height(), 32);
  }
}

TEST_F(LaneRowTest, SuggestionShowsItsReasonsAndTooltips) {
  followSample(fake);
  build();
  const Suggestion groove = fake.model().suggestion(Lane::groove).value();
  const Suggestion pivot = fake.model().suggestion(Lane::pivot).value();
  ASSERT_FALSE(groove.caveat);
  ASSERT_TRUE(pivot.caveat);

  struct Case {
    Lane lane;
    const Suggestion& shown;
    int tooltipLines;
  };
  for (const Case& c : {Case{Lane::groove, groove, 3}, Case{Lane::pivot, pivot, 4}}) {
    SCOPED_TRACE(std::string(c.lane.id()));
    LaneRow& full = row(c.lane);
    EXPECT_EQ(full.titleLine()->text(), toQString(c.shown.track.title));
    EXPECT_EQ(full.detailLine()->text(),
              toQString("\u2068" + c.shown.track.artist + "\u2069 · " + c.shown.why));
    EXPECT_EQ(full.caveatLine()->text(), c.shown.caveat ? toQString(*c.shown.caveat) : QStringLiteral(" "));
    EXPECT_EQ(full.suggestionBlock()->toolTip().split('\n').size(), c.tooltipLines);
    EXPECT_EQ(card(c.lane).suggestionBlock()->toolTip(), full.suggestionBlock()->toolTip());
    EXPECT_EQ(full.height(), 58);
    EXPECT_EQ(card(c.lane).height(), 32);
  }
  EXPECT_EQ(row(Lane::groove).nextButton()->toolTip(), "Show another Keep groove option");
  EXPECT_EQ(card(Lane::breather).nextButton()->toolTip(), "Another Breather option");
  EXPECT_EQ(row(Lane::groove).hideButton()->toolTip(),
            "Not tonight: hide this track for the rest of the set");
  EXPECT_EQ(row(Lane::groove).hideButton()->accessibleName(),
            "Not tonight: hide " + toQString(groove.track.title));
  EXPECT_EQ(card(Lane::groove).tempoLine()->text(), QStringLiteral("124 · 8A"));
}

TEST_F(LaneRowTest, NextOptionIsOffWithASingleOption) {
  followSample(fake);
  build();
  ASSERT_GE(fake.model().alternatives(Lane::groove), 2);
  ASSERT_EQ(fake.model().alternatives(Lane::pivot), 1);
  for (SymbolButton* button : {row(Lane::groove).nextButton(), card(Lane::groove).nextButton()}) {
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->color(), Theme::muted());
  }
  for (SymbolButton* button : {row(Lane::pivot).nextButton(), card(Lane::pivot).nextButton()}) {
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->color(), Theme::line());
  }

  for (const Lane lane : Lane::allCases()) {
    EXPECT_EQ(row(lane).nextButton()->isEnabled(), fake.model().alternatives(lane) >= 2) << lane.id();
  }

  const QString first = row(Lane::groove).titleLine()->text();
  QTest::mouseClick(row(Lane::groove).nextButton(), Qt::LeftButton);
  const QString second = row(Lane::groove).titleLine()->text();
  EXPECT_NE(second, first);
  EXPECT_EQ(card(Lane::groove).titleLine()->text(), second);
  QTest::mouseClick(card(Lane::groove).nextButton(), Qt::LeftButton);
  EXPECT_NE(row(Lane::groove).titleLine()->text(), second);

  const QString pivot = row(Lane::pivot).titleLine()->text();
  QTest::mouseClick(row(Lane::pivot).nextButton(), Qt::LeftButton);
  EXPECT_EQ(row(Lane::pivot).titleLine()->text(), pivot);
}

TEST_F(LaneRowTest, HideReachesTheModelAndTheRowMovesOn) {
  followSample(fake);
  build();
  const Suggestion hidden = fake.model().suggestion(Lane::raise).value();
  QTest::mouseClick(row(Lane::raise).hideButton(), Qt::LeftButton);
  ASSERT_TRUE(fake.model().lastDismissed());
  EXPECT_EQ(fake.model().lastDismissed()->id, hidden.track.id);
  fake.settle();
  EXPECT_NE(row(Lane::raise).titleLine()->text(), toQString(hidden.track.title));

  const Suggestion next = fake.model().suggestion(Lane::breather).value();
  QTest::mouseClick(card(Lane::breather).hideButton(), Qt::LeftButton);
  EXPECT_EQ(fake.model().lastDismissed()->id, next.track.id);
}

TEST_F(LaneRowTest, LoadButtonOnlyWhileOneClickLoadIsOn) {
  followSample(fake);
  build();
  for (const Lane lane : Lane::allCases()) {
    EXPECT_FALSE(row(lane).loadButton()->isHidden());
    EXPECT_FALSE(card(lane).loadButton()->isHidden());
  }
  // Beside the title and above the reason, before the tempo, in the full row;
  // after the tempo in the card.
  const LaneRow& groove = row(Lane::groove);
  const auto place = [&groove](const QWidget* part) {
    return QRect(part->mapTo(&groove, QPoint(0, 0)), part->size());
  };
  const QRect load = place(groove.loadButton());
  EXPECT_GT(load.left(), place(groove.titleLine()).right());
  EXPECT_LT(load.right(), place(groove.bpmLine()).left());
  EXPECT_LT(load.bottom(), place(groove.detailLine()).top());
  EXPECT_GE(place(groove.detailLine()).right(), load.right()) << "the reason runs under the button";
  EXPECT_GT(card(Lane::groove).loadButton()->x(), card(Lane::groove).tempoLine()->x());

  fake.model().setOneClickLoad(false);
  for (const Lane lane : Lane::allCases()) {
    EXPECT_TRUE(row(lane).loadButton()->isHidden());
    EXPECT_TRUE(card(lane).loadButton()->isHidden());
  }
  fake.model().setOneClickLoad(true);
  QTest::mouseClick(card(Lane::groove).loadButton(), Qt::LeftButton);
  ASSERT_EQ(fake.loader->loads.size(), 1u);
  EXPECT_EQ(fake.loader->loads[0].track.id, fake.model().suggestion(Lane::groove)->track.id);
}

TEST_F(LaneRowTest, LongTitlesAreCutWhileLabelAndTempoKeepTheirWidth) {
  std::vector<Track> tracks = test::sampleLibrary();
  const std::string longTitle(120, 'W');
  tracks[1].title = longTitle;  // the groove lane's first option
  tracks[1].artist = std::string(60, 'A');
  fake.install(tracks);
  fake.connect();
  fake.scan({DeckContent::track("1"), DeckContent::empty()}, test::sampleFocus(1, DeckContent::track("1")));
  build();
  ASSERT_EQ(fake.model().suggestion(Lane::groove)->track.title, longTitle);

  for (TextLine* title : {row(Lane::groove).titleLine(), card(Lane::groove).titleLine()}) {
    const QString shown = title->shownText();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << shown.toStdString();
    EXPECT_LT(shown.size(), 120);
    EXPECT_LE(title->x() + title->width(), title->parentWidget()->width());
  }
  EXPECT_TRUE(card(Lane::groove).artistLine()->shownText().endsWith(QStringLiteral("…")));
  TextLine* tempo = card(Lane::groove).tempoLine();
  EXPECT_EQ(tempo->width(), tempo->sizeHint().width());
  EXPECT_EQ(tempo->shownText(), tempo->text());
  EXPECT_EQ(row(Lane::groove).nextButton()->parentWidget()->width(), 16);
  EXPECT_EQ(row(Lane::groove).height(), 58);
  EXPECT_LE(card(Lane::groove).hideButton()->geometry().right(), card(Lane::groove).width());
}

}  // namespace
}  // namespace kesta::ui
