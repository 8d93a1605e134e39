#pragma once

#include <optional>
#include <string>

#include "library/library.h"
#include "platform/json/json_value.h"
#include "platform/time/date.h"

namespace kesta {

// The last imported library and where it came from, kept in "library.json" so
// that a restart shows the library at once.
struct StoredLibrary {
  Library library;
  std::string xmlPath;                // the XML export it was imported from
  std::optional<Date> xmlModifiedAt;  // that file's date at the import, when known

  // {"library", "xmlPath"} required, "xmlModifiedAt" only when present (null
  // reads as absent). Encoding throws json::EncodingError (at write) for a
  // non-finite number inside the library.
  json::Value toJson() const;
  static StoredLibrary fromJson(const json::Value& value);
};

}  // namespace kesta
