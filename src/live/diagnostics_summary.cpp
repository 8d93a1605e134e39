#include "live/diagnostics_summary.h"

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

std::map<std::string, std::int64_t> counts(const json::Value& value) {
  std::map<std::string, std::int64_t> out;
  for (const auto& [key, count] : json::asObject(value).items()) out[key] = json::asInteger(count);
  return out;
}

}  // namespace

json::Value DiagnosticsSummary::toJson() const {
  json::Value out = {
      {"scans", scans},
      {"captureFailures", captureFailures},
      {"readings", readings},
      {"loads", loads},
      {"unloads", unloads},
      {"refinements", refinements},
      {"focusChanges", focusChanges},
      {"startupAmbiguous", startupAmbiguous},
      {"staleFramesRejected", staleFramesRejected},
      {"changesRejected", changesRejected},
      {"staleResultsDiscarded", staleResultsDiscarded},
      {"playEvidence", playEvidence},
  };
  json::putOptional(out, "djFlaggedWrong", djFlaggedWrong);
  json::putOptional(out, "oneClick", oneClick);
  return out;
}

DiagnosticsSummary DiagnosticsSummary::fromJson(const json::Value& value) {
  DiagnosticsSummary summary;
  summary.scans = json::integerField(value, "scans");
  summary.captureFailures = json::integerField(value, "captureFailures");
  summary.readings = counts(json::require(value, "readings"));
  summary.loads = json::integerField(value, "loads");
  summary.unloads = json::integerField(value, "unloads");
  summary.refinements = json::integerField(value, "refinements");
  summary.focusChanges = json::integerField(value, "focusChanges");
  summary.startupAmbiguous = json::integerField(value, "startupAmbiguous");
  summary.staleFramesRejected = json::integerField(value, "staleFramesRejected");
  summary.changesRejected = json::integerField(value, "changesRejected");
  summary.staleResultsDiscarded = json::integerField(value, "staleResultsDiscarded");
  summary.playEvidence = json::integerField(value, "playEvidence");
  summary.djFlaggedWrong = json::optionalInteger(value, "djFlaggedWrong");
  if (const auto* oneClick = json::find(value, "oneClick")) summary.oneClick = counts(*oneClick);
  return summary;
}

}  // namespace kesta
