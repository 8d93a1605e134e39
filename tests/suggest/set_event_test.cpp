#include "suggest/set_event.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/json/json_coding.h"
#include "suggest/dj_set.h"
#include "suggest/track_fixtures.h"

namespace kesta {
namespace {

using kesta::test::makeTrack;
using Kind = SetEvent::Kind;

TEST(SetEventTest, WritesSortedKeysAndLeavesOutWhatIsAbsent) {
  const Track track = makeTrack({.id = "1", .title = "Señor", .artist = "B"});
  EXPECT_EQ(json::write(SetEvent::make(Kind::loaded, Date{2.5}, &track, std::nullopt, 1).toJson()),
            R"({"artist":"B","at":2.5,"deck":1,"kind":"loaded","songKey":"senor|b","title":"Señor",)"
            R"("trackKey":{"raw":"k:1"}})");
  EXPECT_EQ(json::write(SetEvent::make(Kind::replayEnabled, Date{11}, nullptr).toJson()),
            R"({"at":11.0,"kind":"replayEnabled"})");
}

TEST(SetEventTest, RoundTripsEveryKind) {
  const Track track = makeTrack({.id = "42", .title = "Ünïcode \"quoted\"", .artist = ""});
  const SetEvent events[] = {
      SetEvent::make(Kind::shown, Date{1.25}, &track, Lane::groove),
      SetEvent::make(Kind::dismissed, Date{-3.5}, &track, Lane::breather),
      SetEvent::make(Kind::loaded, Date{795000000.123}, &track, std::nullopt, 2),
      SetEvent::make(Kind::played, Date{0}, &track, std::nullopt, 1),
      SetEvent::make(Kind::identified, Date{7}, &track, std::nullopt, 1),
      SetEvent::make(Kind::replayEnabled, Date{8}, nullptr),
  };
  for (const auto& event : events) {
    const auto text = json::write(event.toJson());
    EXPECT_EQ(SetEvent::fromJson(json::parse(text)), event) << text;
  }
  EXPECT_EQ(SetEvent::fromJson(json::parse(R"({"kind":"played","at":3,"deck":null,"lane":null,"x":[1]})")),
            SetEvent::make(Kind::played, Date{3}, nullptr));
}

TEST(SetEventTest, RejectsWhatItCannotRead) {
  for (const char* text : {
           R"({"at":1})",
           R"({"kind":"played"})",
           R"({"kind":"Played","at":1})",
           R"({"kind":"shown","at":1,"lane":"Groove"})",
           R"({"kind":"shown","at":1,"lane":"ease"})",
           R"({"kind":"shown","at":"1"})",
           R"({"kind":"loaded","at":1,"deck":1.5})",
           R"({"kind":"loaded","at":1,"deck":4294967297})",
           R"({"kind":"loaded","at":1,"trackKey":"k:1"})",
           R"({"kind":"loaded","at":1,"trackKey":{}})",
           R"({"kind":"loaded","at":1,"title":5})",
           R"(["loaded"])",
       })
    EXPECT_THROW(SetEvent::fromJson(json::parse(text)), json::DecodingError) << text;
}

TEST(DJSetTest, NewSetIsEmptyAndRoundTrips) {
  DJSet set = DJSet::started(Date{100});
  EXPECT_NE(set.id, DJSet::started(Date{100}).id);
  EXPECT_EQ(json::write(set.toJson()),
            R"({"events":[],"id":")" + set.id + R"(","legacy":false,"startedAt":100.0})");
  EXPECT_EQ(DJSet::fromJson(set.toJson()), set);

  const Track track = makeTrack({.id = "1"});
  DJSet other = set;
  other.events = {SetEvent::make(Kind::shown, Date{101}, &track, Lane::raise),
                  SetEvent::make(Kind::loaded, Date{102}, &track, std::nullopt, 1)};
  other.endedAt = Date{5000.5};
  other.legacy = true;
  EXPECT_NE(other, set);
  EXPECT_EQ(DJSet::fromJson(json::parse(json::write(other.toJson()))), other);
}

TEST(DJSetTest, ReadsWhatItCanAndRejectsTheRest) {
  const std::string id = R"("id":"6f1c2a9e-0d3b-4c5e-8f7a-1b2c3d4e5f60")";
  const auto open =
      DJSet::fromJson(json::parse("{" + id + R"(,"startedAt":5,"events":[],"legacy":false,"x":1})"));
  EXPECT_EQ(open.endedAt, std::nullopt);
  EXPECT_EQ(open.id, "6F1C2A9E-0D3B-4C5E-8F7A-1B2C3D4E5F60");

  for (const std::string& text : {
           "{" + id + R"(,"startedAt":5,"events":[]})",
           "{" + id + R"(,"startedAt":5,"legacy":false})",
           "{" + id + R"(,"events":[],"legacy":false})",
           std::string(R"({"startedAt":5,"events":[],"legacy":false})"),
           std::string(R"({"id":"not-a-uuid","startedAt":5,"events":[],"legacy":false})"),
           std::string(
               R"({"id":"6f1c2a9e0d3b4c5e8f7a1b2c3d4e5f60","startedAt":5,"events":[],"legacy":false})"),
           "{" + id + R"(,"startedAt":5,"events":[],"legacy":"false"})",
           "{" + id + R"(,"startedAt":5,"events":[{"kind":"shown","at":1,"lane":"Groove"}],"legacy":false})",
           "{" + id + R"(,"startedAt":5,"endedAt":"later","events":[],"legacy":false})",
       })
    EXPECT_THROW(DJSet::fromJson(json::parse(text)), json::DecodingError) << text;
}

}  // namespace
}  // namespace kesta
