#include "reading/mixer_reading.h"

#include "platform/json/json_coding.h"

namespace kesta {

json::Value MixerReading::toJson() const { return {{"fader", fader}, {"eqNeutral", eqNeutral}}; }

MixerReading MixerReading::fromJson(const json::Value& value) {
  const double fader = json::numberField(value, "fader");
  return {fader, json::boolField(value, "eqNeutral")};
}

}  // namespace kesta
