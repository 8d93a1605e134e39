#pragma once

#include <string_view>

#include "platform/json/json_value.h"

namespace kesta {

// How far the load tracker has got in deciding the focus.
enum class TrackerPhase {
  waiting,           // no focus decided since the tracker started
  ambiguousStartup,  // both decks hold media and no focus is known
  following,         // a focus is set
};

// "waiting", "ambiguousStartup", "following".
std::string_view caseName(TrackerPhase phase);

// {"<case>": {}}. Decoding ignores keys that name no case and throws
// json::DecodingError with json::kInvalidKeyCount unless exactly one is present.
json::Value toJson(TrackerPhase phase);
TrackerPhase trackerPhaseFromJson(const json::Value& value);

}  // namespace kesta
