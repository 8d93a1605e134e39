#include "reading/deck_observation.h"

#include "platform/json/json_coding.h"

namespace kesta {

const DeckObservation& DeckObservation::unreadable() {
  static const DeckObservation observation{DeckReading::unreadable(), std::nullopt, std::nullopt, "",
                                           std::nullopt};
  return observation;
}

json::Value DeckObservation::toJson() const {
  json::Value object = {{"reading", reading.toJson()}, {"rule", rule}};
  json::putOptional(object, "clockSeconds", clockSeconds);
  json::putOptional(object, "titleAreaChanged", titleAreaChanged);
  if (mixer) object["mixer"] = mixer->toJson();
  return object;
}

DeckObservation DeckObservation::fromJson(const json::Value& value) {
  DeckObservation observation;
  observation.reading = DeckReading::fromJson(json::require(value, "reading"));
  if (const json::Value* clock = json::find(value, "clockSeconds"))
    observation.clockSeconds = json::asInt(*clock);
  observation.titleAreaChanged = json::optionalBool(value, "titleAreaChanged");
  observation.rule = json::stringField(value, "rule");
  if (const json::Value* mixer = json::find(value, "mixer"))
    observation.mixer = MixerReading::fromJson(*mixer);
  return observation;
}

}  // namespace kesta
