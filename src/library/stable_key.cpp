#include "library/stable_key.h"

#include "library/text_tools.h"
#include "platform/crypto/sha256.h"
#include "platform/json/json_coding.h"

namespace kesta {

StableKey StableKey::forLocation(std::string_view location) {
  return StableKey{"file:" + crypto::sha256Hex(location, 24)};
}

StableKey StableKey::forMetadata(std::string_view title, std::string_view artist, int duration) {
  return StableKey{"meta:" + TextTools::normalized(title) + "|" + TextTools::normalized(artist) + "|" +
                   std::to_string(duration)};
}

json::Value StableKey::toJson() const { return json::Value{{"raw", raw}}; }

StableKey StableKey::fromJson(const json::Value& value) { return StableKey{json::stringField(value, "raw")}; }

}  // namespace kesta
