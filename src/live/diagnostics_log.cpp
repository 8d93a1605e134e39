#include "live/diagnostics_log.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <variant>

#include "platform/json/json_coding.h"
#include "platform/json/json_splice.h"
#include "platform/variant/overloaded.h"

namespace kesta {

namespace {

// Drops the oldest entries until at most `bound` remain.
template <class T>
bool keepNewest(std::deque<T>& list, std::size_t bound) {
  if (list.size() <= bound) return false;
  list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(list.size() - bound));
  return true;
}

bool showsNothing(const DeckObservation& observation) {
  return observation.reading.is<DeckReading::Unreadable>() && !observation.clockSeconds && !observation.mixer;
}

// Unmatched signatures are normalised text, letters and digits joined by "|";
// only the hashed form holds a "-".
bool holdsScreenText(const DeckObservation& observation) {
  const auto* unmatched = observation.reading.as<DeckReading::Unmatched>();
  return unmatched && !unmatched->signature.starts_with("redacted-");
}

template <class Range, class Encode>
json::Value list(const Range& values, Encode encode) {
  auto out = json::Value::array();
  for (const auto& value : values) out.push_back(encode(value));
  return out;
}

// Every member but the lists.
json::Value shortMembers(const DiagnosticsLog& log) {
  json::Value out = {
      {"summary", log.summary.toJson()},
      {"includeRawText", log.includeRawText()},
      {"capacity", log.capacity},
  };
  json::putOptional(out, "framesTruncated", log.framesTruncated);
  return out;
}

// Calls visit(key, list, encode) for each list member; the frames only once kept.
template <class Visit>
void forEachList(const DiagnosticsLog& log, Visit visit) {
  visit("scans", log.scans, [](const ScanRecord& scan) { return scan.toJson(); });
  visit("latencies", log.latencies, [](const LoadLatency& latency) { return latency.toJson(); });
  visit("loopGapsMs", log.loopGapsMs, [](double milliseconds) { return milliseconds; });
  visit("rankMs", log.rankMs, [](double milliseconds) { return milliseconds; });
  if (log.frames) visit("frames", *log.frames, [](const Frame& frame) { return frame.toJson(); });
}

template <class T, class Decode>
std::deque<T> dequeOf(const json::Value& value, Decode decode) {
  std::deque<T> out;
  for (const auto& element : json::asArray(value)) out.push_back(decode(element));
  return out;
}

}  // namespace

DiagnosticsLog::DiagnosticsLog(std::int64_t capacity) : capacity(std::max<std::int64_t>(capacity, 0)) {}

std::size_t DiagnosticsLog::bound() const {
  return static_cast<std::size_t>(std::max<std::int64_t>(capacity, 0));
}

void DiagnosticsLog::setIncludeRawText(bool include) {
  includeRawText_ = include;
  if (include) return;
  for (auto& scan : scans) scan.rawText.reset();
  if (!frames) return;
  frames->replace([](const Frame& frame) -> std::optional<Frame> {
    if (holdsScreenText(frame.deck1) || holdsScreenText(frame.deck2)) return frame.redacted();
    return std::nullopt;
  });
}

void DiagnosticsLog::record(const ScanRecord& record) {
  ScanRecord copy = record;
  if (!includeRawText_) copy.rawText.reset();
  summary.scans += 1;
  if (copy.failure) summary.captureFailures += 1;
  summary.readings[copy.deck1] += 1;
  summary.readings[copy.deck2] += 1;
  scans.push_back(std::move(copy));
  keepNewest(scans, bound());
}

void DiagnosticsLog::record(const Frame& frame) {
  if (showsNothing(frame.deck1) && showsNothing(frame.deck2)) return;
  if (!frames) frames.emplace();
  frames->push_back(includeRawText_ ? frame : frame.redacted());
  if (frames->keepNewest(frameCapacity)) framesTruncated = true;
}

void DiagnosticsLog::record(std::span<const TrackerEvent> events) {
  for (const auto& event : events) {
    std::visit(Overloaded{
                   [](const TrackerEvent::Initial&) {},
                   [this](const TrackerEvent::Load&) { summary.loads += 1; },
                   [this](const TrackerEvent::Refined&) { summary.refinements += 1; },
                   [this](const TrackerEvent::Unload&) { summary.unloads += 1; },
                   [this](const TrackerEvent::FocusChange&) { summary.focusChanges += 1; },
                   [this](const TrackerEvent::StartupAmbiguous&) { summary.startupAmbiguous += 1; },
                   [this](const TrackerEvent::PlayEvidence&) { summary.playEvidence += 1; },
                   [this](const TrackerEvent::StaleFrameRejected&) { summary.staleFramesRejected += 1; },
                   [this](const TrackerEvent::ChangeRejected&) { summary.changesRejected += 1; },
               },
               event.value);
  }
}

void DiagnosticsLog::record(const LoadLatency& latency) {
  latencies.push_back(latency);
  keepNewest(latencies, bound());
}

void DiagnosticsLog::recordLoopGap(double milliseconds) {
  loopGapsMs.push_back(milliseconds);
  keepNewest(loopGapsMs, bound());
}

void DiagnosticsLog::recordRank(double milliseconds) {
  rankMs.push_back(milliseconds);
  keepNewest(rankMs, bound());
}

void DiagnosticsLog::staleResultDiscarded() { summary.staleResultsDiscarded += 1; }

void DiagnosticsLog::recordDJFlag() {
  summary.djFlaggedWrong = summary.djFlaggedWrong.value_or(0) + 1;
  if (!scans.empty()) scans.back().events.emplace_back("dj-flag: wrong track");
}

void DiagnosticsLog::recordOneClick(const std::string& outcome, const std::optional<std::string>& detail) {
  if (!summary.oneClick) summary.oneClick.emplace();
  (*summary.oneClick)[outcome] += 1;
  if (scans.empty()) return;
  std::string note = "one-click: " + outcome;
  if (detail) note += " (" + *detail + ")";
  scans.back().events.push_back(std::move(note));
}

bool DiagnosticsLog::isEmpty() const { return scans.empty() && latencies.empty() && rankMs.empty(); }

json::Value DiagnosticsLog::toJson() const {
  auto out = shortMembers(*this);
  forEachList(*this, [&out](std::string_view key, const auto& values, auto encode) {
    out[std::string(key)] = list(values, encode);
  });
  return out;
}

void DiagnosticsLog::appendJson(std::string& out) const {
  const auto members = shortMembers(*this);
  std::size_t estimate = json::write(members).size();
  json::Splices lists;
  forEachList(*this, [&](std::string_view key, const auto& values, auto encode) {
    estimate += key.size() + 4 + json::estimatedArraySize(values, encode);
    lists.emplace(key, [&values, encode](std::string& text) { json::appendArray(text, values, encode); });
  });
  // A sixteenth more covers the elements the estimate did not sample and what
  // the caller appends after the log.
  out.reserve(out.size() + estimate + estimate / 16);
  json::appendObject(out, members, lists);
}

DiagnosticsLog DiagnosticsLog::fromJson(const json::Value& value) {
  DiagnosticsLog log(json::integerField(value, "capacity"));
  log.scans = dequeOf<ScanRecord>(json::require(value, "scans"), ScanRecord::fromJson);
  log.latencies = dequeOf<LoadLatency>(json::require(value, "latencies"), LoadLatency::fromJson);
  log.loopGapsMs = dequeOf<double>(json::require(value, "loopGapsMs"), json::asNumber);
  log.rankMs = dequeOf<double>(json::require(value, "rankMs"), json::asNumber);
  log.summary = DiagnosticsSummary::fromJson(json::require(value, "summary"));
  if (const auto* frames = json::find(value, "frames")) {
    log.frames.emplace();
    for (const auto& frame : json::asArray(*frames)) log.frames->push_back(Frame::fromJson(frame));
  }
  log.framesTruncated = json::optionalBool(value, "framesTruncated");
  log.includeRawText_ = json::boolField(value, "includeRawText");
  return log;
}

}  // namespace kesta
