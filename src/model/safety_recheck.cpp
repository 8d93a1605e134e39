#include "model/safety_recheck.h"

#include <utility>

#include "model/one_click_texts.h"

namespace kesta::model {

namespace {

SafetyRecheck stop(std::string reason) { return {SafetyRecheck::Kind::stop, std::move(reason)}; }

// Entry `deck` (1-based) of a per-deck list, or nullptr when the list is short.
template <class T>
const T* entry(std::span<const T> list, int deck) {
  const auto index = static_cast<std::size_t>(deck - 1);
  return index < list.size() ? &list[index] : nullptr;
}

}  // namespace

SafetyRecheck SafetyRecheck::judge(const LoadDecision& decision, int deck, bool confirmed,
                                   std::span<const DeckMotion> motion,
                                   std::span<const std::optional<MixerReading>> mixer) {
  if (const auto* refused = decision.as<LoadDecision::Refused>()) return stop(refused->reason);

  const auto* allowed = decision.as<LoadDecision::Allowed>();
  const auto* asks = decision.as<LoadDecision::NeedsConfirmation>();
  const int target = allowed != nullptr ? allowed->deck : asks->deck;
  if (target != deck) return stop("you loaded " + deckName(deck) + " yourself.");

  const DeckMotion* deckMotion = entry(motion, deck);
  const auto kind = deckMotion != nullptr ? deckMotion->kind : DeckMotion::Kind::unknown;
  if (allowed != nullptr || confirmed) {
    return kind == DeckMotion::Kind::stopped ? SafetyRecheck{Kind::rereadReadout, {}} : SafetyRecheck{};
  }
  // The deck came into use after a click the rule had allowed.
  const std::optional<MixerReading>* reading = entry(mixer, deck);
  if (kind == DeckMotion::Kind::running && reading != nullptr && reading->has_value()) {
    return stop(deckName(deck) + "'s fader came up.");
  }
  return stop(deckName(deck) + " started playing.");
}

std::optional<std::string> SafetyRecheck::afterReread(int deck, std::optional<bool> stillStopped) {
  if (!stillStopped) return "Kesta couldn't re-read " + deckName(deck) + "'s time readout.";
  if (!*stillStopped) return deckName(deck) + " started playing.";
  return std::nullopt;
}

}  // namespace kesta::model
