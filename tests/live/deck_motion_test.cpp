#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "live/deck_motion_tracker.h"
#include "tracker_printing.h"

namespace kesta {
namespace {

struct Reading {
  std::optional<int> clock;
  double at;
};

struct Case {
  std::string name;
  std::vector<Reading> readings;
  double askedAt;
  DeckMotion expected;
};

TEST(DeckMotionTracker, JudgesTheReadoutTimeline) {
  const std::vector<Case> cases{
      {"no readout yet", {}, 5.0, DeckMotion::unknown()},
      {"unchanged for exactly the threshold", {{42, 10.0}, {42, 12.0}}, 12.1, DeckMotion::stopped(2.0)},
      {"held just under the threshold", {{42, 10.0}, {42, 11.9}}, 12.1, DeckMotion::unknown()},
      {"changed half a second ago", {{42, 10.0}, {43, 11.0}}, 11.5, DeckMotion::running()},
      {"latest reading too old", {{42, 10.0}, {42, 13.0}}, 15.6, DeckMotion::unknown()},
      {"latest reading just young enough", {{42, 10.0}, {42, 13.0}}, 15.5, DeckMotion::stopped(3.0)},
      {"scans without a readout change nothing",
       {{42, 10.0}, {42, 12.0}, {{}, 13.0}, {{}, 14.0}},
       14.4,
       DeckMotion::stopped(2.0)},
      {"and the reading ages meanwhile", {{42, 10.0}, {42, 12.0}, {{}, 13.0}}, 14.6, DeckMotion::unknown()},
      {"a readout going backwards restarts",
       {{42, 10.0}, {42, 12.0}, {30, 12.5}},
       13.0,
       DeckMotion::running()},
      {"changed long ago, not seen again", {{42, 10.0}}, 12.0, DeckMotion::unknown()},
  };
  for (const auto& c : cases) {
    DeckMotionTracker tracker;
    for (const auto& r : c.readings) tracker.observe(1, r.clock, r.at);
    EXPECT_EQ(tracker.motion(1, DeckContent::track("1"), c.askedAt), c.expected) << c.name;
  }
}

TEST(DeckMotionTracker, OnlyEmptyContentShortCircuits) {
  DeckMotionTracker tracker;
  tracker.observe(2, 42, 10.0);
  tracker.observe(2, 42, 12.0);
  EXPECT_EQ(tracker.motion(2, DeckContent::empty(), 12.1), DeckMotion::empty());
  EXPECT_EQ(tracker.motion(1, DeckContent::empty(), 12.1), DeckMotion::empty());
  for (const auto& content :
       {DeckContent::unknown(), DeckContent::ambiguous({"1"}), DeckContent::unmatched("x")})
    EXPECT_EQ(tracker.motion(2, content, 12.1), DeckMotion::stopped(2.0)) << content.caseName();
}

TEST(DeckMotionTracker, ResetForgetsOneDeck) {
  DeckMotionTracker tracker;
  tracker.reset(1);
  tracker.observe(1, 42, 10.0);
  tracker.observe(1, 42, 12.0);
  tracker.observe(2, 7, 10.0);
  tracker.observe(2, 7, 12.0);
  tracker.reset(1);
  EXPECT_EQ(tracker.motion(1, DeckContent::track("1"), 12.1), DeckMotion::unknown());
  EXPECT_EQ(tracker.motion(2, DeckContent::track("2"), 12.1), DeckMotion::stopped(2.0));
  tracker.observe(1, 42, 12.2);
  EXPECT_EQ(tracker.motion(1, DeckContent::track("1"), 12.3), DeckMotion::running());
}

TEST(DeckMotion, EqualityAndCategories) {
  EXPECT_NE(DeckMotion::stopped(2.0), DeckMotion::stopped(2.5));
  EXPECT_EQ(DeckMotion::stopped(2.0).category(), DeckMotion::stopped(9.0).category());
  const std::vector<std::pair<DeckMotion, int>> categories{{DeckMotion::stopped(3.0), 1},
                                                           {DeckMotion::empty(), 0},
                                                           {DeckMotion::running(), 2},
                                                           {DeckMotion::unknown(), 3}};
  for (const auto& [motion, category] : categories) EXPECT_EQ(motion.category(), category);
}

}  // namespace
}  // namespace kesta
