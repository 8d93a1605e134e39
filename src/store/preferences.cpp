#include "store/preferences.h"

#include "platform/json/json_coding.h"

namespace kesta {

json::Value Preferences::toJson() const {
  json::Value pools = json::Value::object();
  for (const auto& [library, pool] : poolByLibrary) pools[library] = pool;
  json::Value positions = json::Value::object();
  for (const auto& [window, corner] : windowTopLeft) positions[window] = corner;

  json::Value object = {{"poolByLibrary", std::move(pools)},
                        {"includeRawText", includeRawText},
                        {"compact", compact},
                        {"windowTopLeft", std::move(positions)},
                        {"legacyImported", legacyImported}};
  json::putOptional(object, "xmlPath", xmlPath);
  json::putOptional(object, "oneClickLoad", oneClickLoad);
  if (resumePoint) object["resumePoint"] = resumePoint->toJson();
  return object;
}

Preferences Preferences::fromJson(const json::Value& value) {
  Preferences preferences;
  preferences.xmlPath = json::optionalString(value, "xmlPath");
  for (const auto& [library, pool] : json::asObject(json::require(value, "poolByLibrary")).items()) {
    preferences.poolByLibrary[library] = json::asString(pool);
  }
  preferences.includeRawText = json::boolField(value, "includeRawText");
  preferences.compact = json::boolField(value, "compact");
  for (const auto& [window, corner] : json::asObject(json::require(value, "windowTopLeft")).items()) {
    preferences.windowTopLeft[window] = json::asList<double>(corner, json::asNumber);
  }
  preferences.legacyImported = json::boolField(value, "legacyImported");
  preferences.oneClickLoad = json::optionalBool(value, "oneClickLoad");
  if (const json::Value* point = json::find(value, "resumePoint")) {
    preferences.resumePoint = ResumePoint::fromJson(*point);
  }
  return preferences;
}

}  // namespace kesta
