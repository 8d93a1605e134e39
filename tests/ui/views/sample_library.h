#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/track.h"
#include "ui/views/fake_driven_model.h"

namespace kesta::test {
using namespace kesta::ui;

// A library track with what the views and the ranking look at.
inline Track sampleTrack(std::string id, std::string title, std::string artist, std::optional<double> bpm,
                         std::optional<std::string> keyText, int energy = 5) {
  Track track;
  track.key = StableKey{"meta:" + id};
  track.id = std::move(id);
  track.source = Source::local();
  track.title = std::move(title);
  track.artist = std::move(artist);
  track.genre = "House";
  track.bpm = bpm;
  track.musicalKey = keyText ? MusicalKey::parsing(*keyText) : std::nullopt;
  track.keyText = std::move(keyText);
  track.energy = energy;
  track.durationSeconds = 360;
  return track;
}

// The track the DJ plays in the samples, on deck 1.
inline Track samplePlaying() { return sampleTrack("1", "Velvet Thunder", "Kasimir Grey", 124, "8A"); }

// Enough tracks near and around the playing one for every lane to have options.
inline std::vector<Track> sampleLibrary() {
  return {samplePlaying(),
          sampleTrack("2", "Harbour Lights", "Mara Lind", 124, "8A"),
          sampleTrack("3", "Night Ferry", "Oslo Drift", 123.5, "9A"),
          sampleTrack("4", "Copper Sky", "Ana Vey", 125, "7A"),
          sampleTrack("5", "Rise Up Slowly", "Dune Pilots", 127, "8A", 7),
          sampleTrack("6", "Pressure Point", "Halcyon Rae", 128, "9A", 8),
          sampleTrack("7", "Soft Landing", "June Harlow", 118, "8A", 3),
          sampleTrack("8", "Low Tide", "Ebb & Flow", 116, "7A", 3),
          sampleTrack("9", "Left Turn", "Kaleido", 124, "3B", 6),
          sampleTrack("10", "Broken Compass", "The Vagrants", 132, "11B", 6),
          sampleTrack("11", "Velvet Thunder", "Kasimir Grey", 124, "8A"),
          sampleTrack("12", "Velvet Thunder", "Kasimir Grey", 126, "9A")};
}

inline Focus sampleFocus(int deck, DeckContent content, std::uint64_t seq = 1) {
  return Focus{deck, std::move(content), seq, FocusKind::load, 0, false};
}

// Connected over the sample library with one-click load on, following the
// playing track on deck 1 with the lanes ranked. Deck 2 holds a stopped track
// (a load goes there without asking) unless `deck2Playing`.
inline void followSample(FakeDrivenModel& fake, bool deck2Playing = false) {
  fake.install(sampleLibrary());
  fake.model().setOneClickLoad(true);
  fake.connect();
  fake.scan({DeckContent::track("1"), DeckContent::track("8")}, sampleFocus(1, DeckContent::track("1")),
            TrackerPhase::following,
            {DeckMotion::running(), deck2Playing ? DeckMotion::running() : DeckMotion::stopped(3)});
  fake.scheduler->advance(20);  // past the notice of switching one-click load on
}

}  // namespace kesta::test
