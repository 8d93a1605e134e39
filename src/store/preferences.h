#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/json/json_value.h"
#include "store/resume_point.h"

namespace kesta {

// The user's settings, kept whole in "preferences.json". `Preferences{}` holds
// every default; aggregate-initialise it in field order for the memberwise form.
struct Preferences {
  // The rekordbox XML export in use; absent until the first import.
  std::optional<std::string> xmlPath;
  // The chosen pool id per library, by the library's source file name.
  std::map<std::string, std::string> poolByLibrary;
  // Consent to keep recognised screen text in diagnostics.
  bool includeRawText = false;
  // The corner card instead of the full window.
  bool compact = false;
  // Top-left corners [x, y] by window ("card", "full"); an entry that does not
  // hold two numbers is kept but ignored where it is used.
  std::map<std::string, std::vector<double>> windowTopLeft;
  // The earlier version's data has been brought over.
  bool legacyImported = false;
  // Absent when the user never set one-click load (then it is off).
  std::optional<bool> oneClickLoad;
  std::optional<ResumePoint> resumePoint;

  // Object of the field names; "xmlPath", "oneClickLoad" and "resumePoint" are
  // written only when present and read as absent when missing or null; the
  // other five are required. Unknown keys are ignored. Encoding throws
  // json::EncodingError for a window position that is not finite (at write).
  json::Value toJson() const;
  static Preferences fromJson(const json::Value& value);

  friend bool operator==(const Preferences&, const Preferences&) = default;
};

}  // namespace kesta
