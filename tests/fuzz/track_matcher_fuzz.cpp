// A deck's verdict from any recognised lines (one per input line) against a
// library that is hard to read against. Every track the verdict names must
// be in the library, and an ambiguous verdict lists its ids sorted, each once.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "fuzz_library.h"
#include "reading/track_matcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kesta;
  const LibraryIndex& index = fuzz::confusableIndex();
  const auto lines = fuzz::lines(fuzz::text(data, size));
  const MatchResult result = TrackMatcher::match(lines, index);
  fuzz::check(!result.rule.empty(), "verdict without a rule");
  if (const auto* track = result.reading.as<DeckReading::Track>()) {
    fuzz::check(index.track(track->id) != nullptr, "verdict names a track outside the library");
  }
  if (const auto* ambiguous = result.reading.as<DeckReading::Ambiguous>()) {
    const auto& ids = ambiguous->ids;
    fuzz::check(std::adjacent_find(ids.begin(), ids.end(),
                                   [](const auto& a, const auto& b) { return a >= b; }) == ids.end(),
                "ambiguous ids not sorted and distinct");
    for (const auto& id : ids) fuzz::check(index.track(id) != nullptr, "ambiguous id outside the library");
  }
  TrackMatcher::metadataHints(lines);
  return 0;
}
