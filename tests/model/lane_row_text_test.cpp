#include "model/lane_row_text.h"

#include <gtest/gtest.h>

#include "view_snapshots.h"

namespace kesta::model {
namespace {

using test::followingStrobe;
using test::suggestionOf;

TEST(LaneRowText, FullAndCardFormsLayOutTheSameOption) {
  ViewSnapshot s = followingStrobe();
  s.oneClickLoad = true;
  s.lanes[0].shown = suggestionOf(Lane::groove, test::levels(), "Same key · +1 BPM", "Played 20 min ago");
  s.lanes[0].options = 2;
  const LaneRowText full = laneRowText(s, Lane::groove, RowForm::full);
  EXPECT_EQ(full.title, "Levels");
  EXPECT_EQ(full.detail, "\u2068Unknown artist\u2069 · Same key · +1 BPM");
  EXPECT_EQ(full.detailKept, " · Same key · +1 BPM");
  EXPECT_EQ(full.caveat, "Played 20 min ago");
  EXPECT_EQ(full.tempo, "126.5");
  EXPECT_EQ(full.key, "—");
  EXPECT_TRUE(full.moreOptions);
  EXPECT_TRUE(full.loadShown);

  const LaneRowText card = laneRowText(s, Lane::groove, RowForm::card);
  EXPECT_EQ(card.detail, "Unknown artist");
  EXPECT_EQ(card.tempo, "126.5 · —");
  EXPECT_EQ(card.caveat, "");

  s.lanes[0].shown = suggestionOf(Lane::groove, test::levels());
  s.lanes[0].options = 1;
  s.oneClickLoad = false;
  const LaneRowText single = laneRowText(s, Lane::groove, RowForm::full);
  EXPECT_EQ(single.caveat, " ");  // the caveat line keeps its height
  EXPECT_FALSE(single.moreOptions);
  EXPECT_FALSE(single.loadShown);
}

struct EmptyCase {
  const char* name;
  Lane lane;
  bool ranking;
  bool followed;
  std::optional<std::string> reason;
  std::optional<std::string> shortReason;  // as the snapshot holds it: the long one when there is none
  const char* fullText;
  const char* fullTooltip;
  const char* cardText;
  const char* cardTooltip;
};

class LaneEmptyTextTest : public ::testing::TestWithParam<EmptyCase> {};

TEST_P(LaneEmptyTextTest, SaysWhyTheLaneIsEmpty) {
  const EmptyCase& c = GetParam();
  ViewSnapshot s = followingStrobe();
  s.ranking = c.ranking;
  if (!c.followed) s.currentTrack.reset();
  LaneView& lane = s.lanes[static_cast<std::size_t>(c.lane)];
  lane.emptyReason = c.reason;
  lane.emptyShort = c.shortReason;
  const LaneRowText full = laneRowText(s, c.lane, RowForm::full);
  const LaneRowText card = laneRowText(s, c.lane, RowForm::card);
  EXPECT_FALSE(full.shown);
  EXPECT_EQ(full.emptyText, c.fullText);
  EXPECT_EQ(full.emptyTooltip, c.fullTooltip);
  EXPECT_EQ(card.emptyText, c.cardText);
  EXPECT_EQ(card.emptyTooltip, c.cardTooltip);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaneEmptyTextTest,
    ::testing::Values(EmptyCase{"ranking", Lane::raise, true, true, "Nothing faster", "None", "…",
                                "Nothing faster", "None", "Nothing faster"},
                      EmptyCase{"reasonAndShort", Lane::raise, false, true, "Nothing faster in this pool",
                                "None faster", "Nothing faster in this pool", "Nothing faster in this pool",
                                "None faster", "Nothing faster in this pool"},
                      EmptyCase{"longReasonOnly", Lane::pivot, false, true, "No pivot fits", "No pivot fits",
                                "No pivot fits", "No pivot fits", "No pivot fits", "No pivot fits"},
                      EmptyCase{"followedWithoutReason", Lane::raise, false, true, std::nullopt, std::nullopt,
                                "—", "", "—", "—"},
                      EmptyCase{"grooveBeforeAnyTrack", Lane::groove, false, false, std::nullopt,
                                std::nullopt, "Suggestions appear once Kesta knows the loaded track.", "",
                                " ", " "},
                      EmptyCase{"otherLaneBeforeAnyTrack", Lane::breather, false, false, std::nullopt,
                                std::nullopt, " ", "", " ", " "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kesta::model
