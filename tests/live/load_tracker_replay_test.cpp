#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "live/load_tracker.h"
#include "support/test_paths.h"
#include "tracker_printing.h"

namespace kesta {
namespace {

json::Value recording() {
  std::ifstream file(test::sourceDir() / "tests" / "live" / "data" / "load_tracker_replay.json");
  std::stringstream text;
  text << file.rdbuf();
  return json::parse(text.str());
}

// A recorded session: the frames in their stored form and, per frame, the
// events the tracker gave. A fresh tracker must give them again.
TEST(LoadTrackerReplay, RecordedFramesGiveTheRecordedEvents) {
  const json::Value recorded = recording();
  LoadTracker::SongKeys songKeys;
  for (const auto& [id, key] : recorded.at("songKeys").items()) songKeys.emplace(id, key.get<std::string>());
  const auto& frames = recorded.at("frames");
  const auto& events = recorded.at("events");
  ASSERT_EQ(frames.size(), events.size());

  LoadTracker tracker(std::make_shared<const LoadTracker::SongKeys>(std::move(songKeys)));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const Frame frame = Frame::fromJson(frames[i]);
    EXPECT_EQ(frame.toJson(), frames[i]) << "frame " << i + 1 << " reads back unchanged";
    const auto expected = json::asList<TrackerEvent>(events[i], TrackerEvent::fromJson);
    EXPECT_EQ(tracker.ingest(frame), expected) << "frame " << i + 1;
  }
  EXPECT_EQ(tracker.deck(1).confirmed, DeckContent::empty());
  EXPECT_EQ(tracker.deck(2).confirmed, DeckContent::track("103"));
  EXPECT_EQ(tracker.phase(), TrackerPhase::following);
}

}  // namespace
}  // namespace kesta
