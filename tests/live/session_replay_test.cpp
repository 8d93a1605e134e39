#include "live/session_replay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/diagnostics_session.h"
#include "live/load_tracker.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

std::string describe(const TrackerEvent& event) {
  std::string line(event.caseName());
  if (const auto* load = event.as<TrackerEvent::Load>()) {
    line += " d" + std::to_string(load->deck) + " " + std::string(load->content.caseName());
  } else if (const auto* initial = event.as<TrackerEvent::Initial>()) {
    line += " d" + std::to_string(initial->deck) + " " + std::string(initial->content.caseName());
  } else if (const auto* focus = event.as<TrackerEvent::FocusChange>()) {
    line += " d" + std::to_string(focus->focus.deck) + " #" + std::to_string(focus->focus.seq);
  }
  return line;
}

DeckObservation shows(DeckReading reading) {
  DeckObservation observation;
  observation.reading = std::move(reading);
  observation.titleAreaChanged = true;
  return observation;
}

// Deck 1 holds track 1 from the start; deck 2 is empty, then gets a track
// that is not in the library.
std::vector<Frame> recording(std::uint64_t firstSeq, double firstTime) {
  std::vector<Frame> frames;
  for (std::uint64_t i = 0; i < 20; ++i) {
    const auto deck2 =
        i < 10 ? shows(DeckReading::empty()) : shows(DeckReading::unmatched("newtrack|someartist"));
    frames.push_back({.seq = firstSeq + i,
                      .time = firstTime + 0.25 * static_cast<double>(i),
                      .deck1 = shows(DeckReading::track("1", MatchStrength::strong)),
                      .deck2 = deck2});
  }
  return frames;
}

const auto kSongKeys =
    std::make_shared<const LoadTracker::SongKeys>(LoadTracker::SongKeys{{"1", "title|artist"}});

std::vector<std::string> live(const std::vector<Frame>& frames) {
  LoadTracker tracker(kSongKeys);
  std::vector<std::string> lines;
  for (const auto& frame : frames) {
    for (const auto& event : tracker.ingest(frame)) lines.push_back(describe(event));
  }
  return lines;
}

TEST(SessionReplay, StoredFramesReplayTheEventsTheTrackerSaw) {
  const auto frames = recording(1, 100);
  const auto seen = live(frames);
  ASSERT_EQ(seen, (std::vector<std::string>{"initial d1 track", "focus d1 #1", "load d2 unmatched",
                                            "focus d2 #2"}));

  DiagnosticsSession session("1", {});
  for (const auto& frame : frames) session.log.record(frame);
  const auto stored = DiagnosticsSession::fromJson(json::parse(json::write(session.toJson())));
  const std::vector<Frame> replayed(stored.log.frames->begin(), stored.log.frames->end());
  EXPECT_EQ(SessionReplay::events(replayed, kSongKeys, describe), seen);
}

TEST(SessionReplay, ANumberThatDoesNotRiseStartsAFreshTracker) {
  const auto first = recording(5, 100);
  const auto second = recording(1, 3);
  std::vector<Frame> frames = first;
  frames.insert(frames.end(), second.begin(), second.end());

  auto expected = live(first);
  const auto again = live(second);
  expected.insert(expected.end(), again.begin(), again.end());
  EXPECT_EQ(SessionReplay::events(frames, kSongKeys, describe), expected);
  EXPECT_TRUE(SessionReplay::events({}, LoadTracker::noSongKeys(), describe).empty());
}

}  // namespace
}  // namespace kesta
