#include "suggest/dj_set.h"

#include <algorithm>
#include <span>
#include <unordered_map>

#include "library/text_tools.h"
#include "platform/crypto/uuid.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

using Kind = SetEvent::Kind;

constexpr std::size_t kRecentLoads = 8;

bool marksUsed(Kind kind) { return kind == Kind::loaded || kind == Kind::played || kind == Kind::identified; }

// The events after the last replay (all of them when there was none).
std::span<const SetEvent> sinceReplay(const std::vector<SetEvent>& events) {
  const auto last = std::find_if(events.rbegin(), events.rend(),
                                 [](const SetEvent& event) { return event.kind == Kind::replayEnabled; });
  return std::span(events).subspan(static_cast<std::size_t>(events.rend() - last));
}

}  // namespace

DJSet DJSet::started(Date startedAt) {
  return DJSet{crypto::randomUuid(), startedAt, std::nullopt, {}, false};
}

std::unordered_set<StableKey> DJSet::usedKeys() const {
  std::unordered_set<StableKey> keys;
  for (const SetEvent& event : sinceReplay(events))
    if (marksUsed(event.kind) && event.trackKey) keys.insert(*event.trackKey);
  return keys;
}

std::unordered_set<std::string> DJSet::usedSongs() const {
  std::unordered_set<std::string> songs;
  for (const SetEvent& event : sinceReplay(events))
    if (marksUsed(event.kind) && event.songKey) songs.insert(*event.songKey);
  return songs;
}

std::unordered_set<StableKey> DJSet::dismissedKeys() const {
  std::unordered_set<StableKey> keys;
  for (const SetEvent& event : sinceReplay(events))
    if (event.kind == Kind::dismissed && event.trackKey) keys.insert(*event.trackKey);
  return keys;
}

bool DJSet::hasReplayableHistory() const { return !usedKeys().empty() || !dismissedKeys().empty(); }

std::vector<std::string> DJSet::recentArtists() const {
  std::vector<const SetEvent*> loads;
  for (const SetEvent& event : events)
    if (event.kind == Kind::loaded) loads.push_back(&event);
  const std::size_t first = loads.size() > kRecentLoads ? loads.size() - kRecentLoads : 0;
  std::vector<std::string> artists;
  for (std::size_t i = first; i < loads.size(); ++i)
    if (loads[i]->artist) artists.push_back(TextTools::normalized(*loads[i]->artist));
  return artists;
}

std::vector<DJSet::Transition> DJSet::playedTransitions() const {
  std::vector<Transition> transitions;
  const StableKey* previous = nullptr;
  for (const SetEvent& event : events) {
    if (event.kind != Kind::played || !event.trackKey) continue;
    if (previous != nullptr) transitions.push_back(Transition{*previous, *event.trackKey});
    previous = &*event.trackKey;
  }
  return transitions;
}

std::vector<DJSet::Entry> DJSet::entries() const {
  std::vector<Entry> rows;
  std::unordered_map<StableKey, Lane> lastShownIn;
  for (const SetEvent& event : events) {
    switch (event.kind) {
      case Kind::shown:
        if (event.trackKey && event.lane) lastShownIn.insert_or_assign(*event.trackKey, *event.lane);
        break;
      case Kind::loaded: {
        if (!event.trackKey) break;
        // The same song loaded again right after itself makes no new row.
        if (!rows.empty() && event.title == rows.back().title && event.artist == rows.back().artist) break;
        const auto shown = lastShownIn.find(*event.trackKey);
        rows.push_back(Entry{static_cast<int>(rows.size()), event.title.value_or(""),
                             event.artist.value_or(""), event.at, legacy,
                             shown == lastShownIn.end() ? std::nullopt : std::optional(shown->second)});
        break;
      }
      case Kind::played: {
        if (!event.title || !event.artist) break;
        const auto row = std::find_if(rows.rbegin(), rows.rend(), [&](const Entry& entry) {
          return entry.title == *event.title && entry.artist == *event.artist;
        });
        if (row != rows.rend()) row->played = true;
        break;
      }
      case Kind::dismissed:
      case Kind::identified:
      case Kind::replayEnabled:
        break;
    }
  }
  return rows;
}

json::Value DJSet::toJson() const {
  json::Value object = json::Value::object();
  object["id"] = id;
  object["startedAt"] = startedAt.secondsSinceReference;
  if (endedAt) object["endedAt"] = endedAt->secondsSinceReference;
  json::Value list = json::Value::array();
  for (const SetEvent& event : events) list.push_back(event.toJson());
  object["events"] = std::move(list);
  object["legacy"] = legacy;
  return object;
}

DJSet DJSet::fromJson(const json::Value& value) {
  const std::string idText = json::stringField(value, "id");
  auto id = crypto::parseUuid(idText);
  if (!id) throw json::DecodingError("Attempted to decode UUID from invalid UUID string.");
  DJSet set{std::move(*id), Date{json::numberField(value, "startedAt")}, std::nullopt, {}, false};
  if (const auto ended = json::optionalNumber(value, "endedAt")) set.endedAt = Date{*ended};
  set.events = json::asList<SetEvent>(json::require(value, "events"), SetEvent::fromJson);
  set.legacy = json::boolField(value, "legacy");
  return set;
}

}  // namespace kesta
