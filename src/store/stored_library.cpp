#include "store/stored_library.h"

#include "platform/json/json_coding.h"

namespace kesta {

json::Value StoredLibrary::toJson() const {
  json::Value object = {{"library", library.toJson()}, {"xmlPath", xmlPath}};
  if (xmlModifiedAt) object["xmlModifiedAt"] = xmlModifiedAt->secondsSinceReference;
  return object;
}

StoredLibrary StoredLibrary::fromJson(const json::Value& value) {
  StoredLibrary stored;
  stored.library = Library::fromJson(json::require(value, "library"));
  stored.xmlPath = json::stringField(value, "xmlPath");
  if (const auto seconds = json::optionalNumber(value, "xmlModifiedAt"))
    stored.xmlModifiedAt = Date{*seconds};
  return stored;
}

}  // namespace kesta
