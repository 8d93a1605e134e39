#include "live/tracker_phase.h"

#include <string>

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

constexpr std::string_view kWaiting = "waiting";
constexpr std::string_view kAmbiguousStartup = "ambiguousStartup";
constexpr std::string_view kFollowing = "following";

}  // namespace

std::string_view caseName(TrackerPhase phase) {
  switch (phase) {
    case TrackerPhase::waiting:
      return kWaiting;
    case TrackerPhase::ambiguousStartup:
      return kAmbiguousStartup;
    case TrackerPhase::following:
      return kFollowing;
  }
  return kWaiting;
}

json::Value toJson(TrackerPhase phase) { return json::tagged(caseName(phase)); }

TrackerPhase trackerPhaseFromJson(const json::Value& value) {
  const std::string name = json::oneKey(value, {kWaiting, kAmbiguousStartup, kFollowing});
  json::asObject(json::require(value, name));
  if (name == kWaiting) return TrackerPhase::waiting;
  if (name == kAmbiguousStartup) return TrackerPhase::ambiguousStartup;
  return TrackerPhase::following;
}

}  // namespace kesta
