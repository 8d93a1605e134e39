#include "suggest/suggestion_wording.h"

#include <cmath>
#include <vector>

#include "library/text_tools.h"
#include "platform/text/numbers.h"
#include "platform/text/unicode_text.h"

namespace kesta {
namespace {

// printf's "%+.Nf" without the process locale: the sign always shown.
std::string signedFixed(double value, int decimals) {
  std::string text = numbers::formatFixed(value, decimals);
  if (!std::signbit(value)) text.insert(text.begin(), '+');
  return text;
}

std::string joined(const std::vector<std::string>& phrases) {
  std::string out;
  for (const auto& phrase : phrases) {
    if (!out.empty()) out += " · ";
    out += phrase;
  }
  return out;
}

}  // namespace

std::string Recommender::tempoPhrase(const Relation& relation) {
  std::string phrase = std::abs(relation.tempoPercent) < 0.3
                           ? "same tempo"
                           : signedFixed(relation.tempoPercent, 1) + "% tempo";
  if (relation.doubleTime) phrase += " (half/double time)";
  return phrase;
}

std::string Recommender::keyPhrase(const std::optional<MusicalKey::Relation>& relation, const Track& current,
                                   const Track& candidate) {
  if (!relation) return "key not analysed";
  using Kind = MusicalKey::Relation::Kind;
  switch (relation->kind) {
    case Kind::same:
      return "same key";
    case Kind::relative:
      return "relative key";
    case Kind::adjacent:
      return "adjacent key";
    case Kind::diagonal:
      return "diagonal key";
    case Kind::change:
      break;
  }
  if (current.musicalKey && candidate.musicalKey)
    return current.musicalKey->camelot() + "→" + candidate.musicalKey->camelot() + ", " +
           current.musicalKey->intervalPhrase(*candidate.musicalKey);
  return "key change (" + std::to_string(relation->steps) + " steps)";
}

std::string SuggestionWording::explain(Lane lane, const Track& current, const Track& candidate,
                                       const Recommender::Relation& relation) {
  std::vector<std::string> phrases;
  const std::string tempo = Recommender::tempoPhrase(relation);
  const std::string key = Recommender::keyPhrase(relation.key, current, candidate);
  if (lane == Lane::pivot) {
    phrases = {key, tempo};
  } else {
    phrases = {tempo, key};
  }
  if (relation.energyDelta && current.energy && candidate.energy &&
      !(lane == Lane::groove && *relation.energyDelta == 0))
    phrases.push_back("energy " + std::to_string(*current.energy) + "→" + std::to_string(*candidate.energy));
  if (lane == Lane::pivot && !current.genre.empty() && !candidate.genre.empty() &&
      TextTools::normalized(current.genre) != TextTools::normalized(candidate.genre))
    phrases.push_back(unicode::isolated(candidate.genre));
  return joined(phrases);
}

std::optional<std::string> SuggestionWording::caveat(Lane lane, const Recommender::Relation& relation) {
  if (lane == Lane::pivot) return "Check the intro for a drum lead-in.";
  if (lane != Lane::groove && !relation.energyDelta) return "No energy tags: judged by tempo.";
  if (!relation.key) return "Key not analysed; check by ear.";
  return std::nullopt;
}

std::string SuggestionWording::farTempoCaveat(double tempoPercent) {
  return "Needs a " + signedFixed(tempoPercent, 0) + "% tempo change: use a cut, echo-out or breakdown.";
}

SuggestionWording::EmptyReason SuggestionWording::noBPM() {
  return {
      "This track has no BPM in your export, so Kesta can't compare tempo. Analyze it in rekordbox and "
      "export again.",
      "No BPM for this track: analyze it in rekordbox."};
}

SuggestionWording::EmptyReason SuggestionWording::onlyMatchElsewhere() {
  return {"The only match is already shown in another lane.", "Its only match is in another lane."};
}

SuggestionWording::EmptyReason SuggestionWording::nothingEligible(Lane lane) {
  switch (lane) {
    case Lane::groove:
      return {"Nothing unused within ±3% tempo in a compatible key.",
              "Nothing unused within ±3% in a fitting key."};
    case Lane::raise:
      return {"Nothing unused that steps up while keeping the key compatible.",
              "Nothing unused steps up in a fitting key."};
    case Lane::breather:
      return {"Nothing unused that steps down while keeping the key compatible.",
              "Nothing unused steps down in a fitting key."};
    case Lane::pivot:
      break;
  }
  return pivotNothingFound();
}

SuggestionWording::EmptyReason SuggestionWording::pivotWithoutKey() {
  return {"Kesta doesn't know this track's key, so it can't find a real key change.",
          "No key for this track, so no Pivot."};
}

SuggestionWording::EmptyReason SuggestionWording::pivotNothingFound() {
  return {"No track in this pool changes key by 2+ Camelot steps within a usable tempo range.",
          "No 2+ step key change at a usable tempo."};
}

}  // namespace kesta
