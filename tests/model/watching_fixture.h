#pragma once

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "model_fixture.h"
#include "model_probe.h"
#include "reading/reading_fixtures.h"

namespace kesta::test {
using namespace kesta::model;

// Three library tracks; their stable keys are "meta:<id>".
inline Library watchedLibrary() {
  return kesta::test::libraryOf({kesta::test::libraryTrack("1", "Strobe", "deadmau5", 128.0, "8A"),
                                 kesta::test::libraryTrack("2", "Levels", "Avicii", 126.0, "5A"),
                                 kesta::test::libraryTrack("3", "Opus", "Eric Prydz", std::nullopt)});
}

inline Focus focusOn(int deck, DeckContent content, std::uint64_t seq, FocusKind kind = FocusKind::load) {
  return Focus{deck, std::move(content), seq, kind, 0, false};
}

// One scan's update while reading: both decks as given, the focus, both
// decks running, no mixer readings.
inline EngineUpdate readingUpdate(std::vector<DeckContent> decks, std::optional<Focus> focus,
                                  TrackerPhase phase = TrackerPhase::following) {
  EngineUpdate update;
  update.decks = std::move(decks);
  update.focus = std::move(focus);
  update.phase = phase;
  update.health = ReaderHealth::reading();
  update.motion = {DeckMotion::running(), DeckMotion::running()};
  update.confirmedAt = 2000;
  return update;
}

// The model connected over a library, with the fake engine at hand.
class WatchingFixture : public ModelFixture {
 protected:
  FakeEngine& connect() {
    if (model().library().isEmpty()) ModelProbe::install(model(), watchedLibrary());
    model().startWatching();
    return *engines->last();
  }
  FakeEngine& engine() { return *engines->last(); }
  void deliver(const EngineUpdate& update) { ASSERT_TRUE(engine().deliver(update)); }
  std::uint64_t rankings() { return ModelProbe::rankGeneration(model()); }
};

}  // namespace kesta::test
