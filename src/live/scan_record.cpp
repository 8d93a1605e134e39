#include "live/scan_record.h"

#include "platform/json/json_coding.h"

namespace kesta {

namespace {

std::vector<int> deckList(const json::Value& value) { return json::asList<int>(value, json::asInt); }

}  // namespace

json::Value ScanRecord::toJson() const {
  json::Value out = {
      {"seq", seq},
      {"at", at.secondsSinceReference},
      {"captureMs", captureMs},
      {"ocrMs", ocrMs},
      {"matchMs", matchMs},
      {"trackerMs", trackerMs},
      {"deck1", deck1},
      {"deck2", deck2},
      {"ocrSkipped", ocrSkipped},
      {"events", events},
  };
  json::putOptional(out, "clocksRead", clocksRead);
  json::putOptional(out, "failure", failure);
  json::putOptional(out, "mixer", mixer);
  json::putOptional(out, "rawText", rawText);
  return out;
}

ScanRecord ScanRecord::fromJson(const json::Value& value) {
  ScanRecord record;
  record.seq = json::unsignedField(value, "seq");
  record.at = Date{json::numberField(value, "at")};
  record.captureMs = json::numberField(value, "captureMs");
  record.ocrMs = json::numberField(value, "ocrMs");
  record.matchMs = json::numberField(value, "matchMs");
  record.trackerMs = json::numberField(value, "trackerMs");
  record.deck1 = json::stringField(value, "deck1");
  record.deck2 = json::stringField(value, "deck2");
  record.ocrSkipped = deckList(json::require(value, "ocrSkipped"));
  if (const auto* clocks = json::find(value, "clocksRead")) record.clocksRead = deckList(*clocks);
  record.failure = json::optionalString(value, "failure");
  record.events = json::asStringList(json::require(value, "events"));
  record.mixer = json::optionalString(value, "mixer");
  if (const auto* lines = json::find(value, "rawText")) record.rawText = json::asStringList(*lines);
  return record;
}

}  // namespace kesta
