#include "live/tracker_event.h"

#include "platform/json/json_coding.h"
#include "platform/variant/overloaded.h"

namespace kesta {

namespace {

constexpr std::string_view kInitial = "initial";
constexpr std::string_view kLoad = "load";
constexpr std::string_view kRefined = "refined";
constexpr std::string_view kUnload = "unload";
constexpr std::string_view kFocus = "focus";
constexpr std::string_view kStartupAmbiguous = "startupAmbiguous";
constexpr std::string_view kPlayEvidence = "playEvidence";
constexpr std::string_view kStaleFrameRejected = "staleFrameRejected";
constexpr std::string_view kChangeRejected = "changeRejected";

DeckContent contentField(const json::Value& object, std::string_view key) {
  return DeckContent::fromJson(json::require(object, key));
}

}  // namespace

std::string_view TrackerEvent::caseName() const {
  return std::visit(Overloaded{
                        [](const Initial&) { return kInitial; },
                        [](const Load&) { return kLoad; },
                        [](const Refined&) { return kRefined; },
                        [](const Unload&) { return kUnload; },
                        [](const FocusChange&) { return kFocus; },
                        [](const StartupAmbiguous&) { return kStartupAmbiguous; },
                        [](const PlayEvidence&) { return kPlayEvidence; },
                        [](const StaleFrameRejected&) { return kStaleFrameRejected; },
                        [](const ChangeRejected&) { return kChangeRejected; },
                    },
                    value);
}

json::Value TrackerEvent::toJson() const {
  return std::visit(Overloaded{
                        [](const Initial& e) {
                          return json::tagged(kInitial, {{"deck", e.deck}, {"content", e.content.toJson()}});
                        },
                        [](const Load& e) {
                          return json::tagged(kLoad, {{"deck", e.deck},
                                                      {"content", e.content.toJson()},
                                                      {"previous", e.previous.toJson()},
                                                      {"evidenceAt", e.evidenceAt}});
                        },
                        [](const Refined& e) {
                          return json::tagged(kRefined, {{"deck", e.deck}, {"content", e.content.toJson()}});
                        },
                        [](const Unload& e) {
                          return json::tagged(kUnload, {{"deck", e.deck}, {"previous", e.previous.toJson()}});
                        },
                        [](const FocusChange& e) {
                          return json::tagged(kFocus, {{"_0", e.focus.toJson()}});
                        },
                        [](const StartupAmbiguous&) { return json::tagged(kStartupAmbiguous); },
                        [](const PlayEvidence& e) {
                          return json::tagged(kPlayEvidence, {{"deck", e.deck}, {"trackID", e.trackID}});
                        },
                        [](const StaleFrameRejected& e) {
                          return json::tagged(kStaleFrameRejected, {{"seq", e.seq}});
                        },
                        [](const ChangeRejected& e) {
                          return json::tagged(kChangeRejected, {{"deck", e.deck}, {"reason", e.reason}});
                        },
                    },
                    value);
}

TrackerEvent TrackerEvent::fromJson(const json::Value& value) {
  const std::string name = json::oneKey(value, {kInitial, kLoad, kRefined, kUnload, kFocus, kStartupAmbiguous,
                                                kPlayEvidence, kStaleFrameRejected, kChangeRejected});
  const json::Value& p = json::asObject(json::require(value, name));
  if (name == kInitial) {
    const int deck = json::intField(p, "deck");
    return initial(deck, contentField(p, "content"));
  }
  if (name == kLoad) {
    const int deck = json::intField(p, "deck");
    DeckContent content = contentField(p, "content");
    DeckContent previous = contentField(p, "previous");
    return load(deck, std::move(content), std::move(previous), json::numberField(p, "evidenceAt"));
  }
  if (name == kRefined) {
    const int deck = json::intField(p, "deck");
    return refined(deck, contentField(p, "content"));
  }
  if (name == kUnload) {
    const int deck = json::intField(p, "deck");
    return unload(deck, contentField(p, "previous"));
  }
  if (name == kFocus) return focus(Focus::fromJson(json::require(p, "_0")));
  if (name == kStartupAmbiguous) return startupAmbiguous();
  if (name == kPlayEvidence) {
    const int deck = json::intField(p, "deck");
    return playEvidence(deck, json::stringField(p, "trackID"));
  }
  if (name == kStaleFrameRejected) return staleFrameRejected(json::unsignedField(p, "seq"));
  const int deck = json::intField(p, "deck");
  return changeRejected(deck, json::stringField(p, "reason"));
}

}  // namespace kesta
