#include "live/load_latency.h"

#include "platform/json/json_coding.h"

namespace kesta {

json::Value LoadLatency::toJson() const {
  return {{"seq", seq},
          {"deck", deck},
          {"evidenceToConfirmMs", evidenceToConfirmMs},
          {"confirmToRankMs", confirmToRankMs},
          {"rankToPublishMs", rankToPublishMs}};
}

LoadLatency LoadLatency::fromJson(const json::Value& value) {
  return {json::unsignedField(value, "seq"), json::integerField(value, "deck"),
          json::numberField(value, "evidenceToConfirmMs"), json::numberField(value, "confirmToRankMs"),
          json::numberField(value, "rankToPublishMs")};
}

}  // namespace kesta
