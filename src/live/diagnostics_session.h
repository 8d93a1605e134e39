#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "library/import_report.h"
#include "live/diagnostics_log.h"
#include "platform/json/json_value.h"
#include "platform/time/date.h"

namespace kesta {

// The diagnostics of one run of the app. The app model holds the one current
// session, records into its log and hands copies to the store.
struct DiagnosticsSession {
  using Environment = std::map<std::string, std::string>;

  std::string id;  // random, 36 upper-case characters
  Date startedAt;
  Date updatedAt;               // the latest save; startedAt until the first
  std::optional<Date> endedAt;  // only when the run ended normally
  std::string appVersion;
  Environment environment;  // "macOS" (the system's version), "Mac" (the hardware model)
  DiagnosticsLog log;

  // A new session with a random id, `updatedAt` equal to `startedAt`, no end.
  DiagnosticsSession(std::string appVersion, Environment environment, Date startedAt = Date::now(),
                     DiagnosticsLog log = DiagnosticsLog());

  // The report of the log, with a "Session" environment line dating the run
  // (in the machine's time zone), followed by the newest `recentScans` scan
  // records, one line each. `extraEnvironment` wins over the session's own
  // entries; neither changes the session.
  std::string exportText(const std::optional<ImportReport>& library, const Environment& extraEnvironment = {},
                         std::size_t recentScans = 300) const;

  // {"id", "startedAt", "updatedAt", "endedAt"?, "appVersion", "environment",
  // "log"}, dates as seconds since 2001. Decoding fails (json::DecodingError)
  // on any other missing key, a mistyped value or an id that is not a UUID.
  json::Value toJson() const;
  // The text json::write(toJson()) gives, built without that Value, whose long
  // lists would take several times the text's size. Throws json::EncodingError
  // on a non-finite number.
  std::string toJsonText() const;
  static DiagnosticsSession fromJson(const json::Value& value);

  friend bool operator==(const DiagnosticsSession&, const DiagnosticsSession&) = default;

 private:
  DiagnosticsSession() = default;
};

}  // namespace kesta
