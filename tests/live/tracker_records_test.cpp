#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "live/deck_content.h"
#include "live/focus.h"
#include "live/frame.h"
#include "live/tracker_event.h"
#include "live/tracker_phase.h"
#include "reading/deck_observation.h"
#include "reading/mixer_reading.h"
#include "tracker_printing.h"

namespace kesta {
namespace {

using C = DeckContent;
using E = TrackerEvent;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(MixerReading, MainAndSilentAtTheirBoundaries) {
  struct Case {
    double fader;
    bool eqNeutral;
    bool main;
    bool silent;
  };
  const std::vector<Case> cases{
      {0.5, true, true, false},     {0.5, false, false, false}, {0.7, true, true, false},
      {0.4999, true, false, false}, {0.05, true, false, true},  {0.051, false, false, false},
      {0.0, true, false, true},     {kNaN, true, false, false},
  };
  for (const auto& c : cases) {
    const MixerReading reading{c.fader, c.eqNeutral};
    EXPECT_EQ(reading.isMain(), c.main) << c.fader << " " << c.eqNeutral;
    EXPECT_EQ(reading.isSilent(), c.silent) << c.fader << " " << c.eqNeutral;
  }
  EXPECT_NE((MixerReading{kNaN, true}), (MixerReading{kNaN, true}));
}

TEST(Frame, DeckOneIsDeckOneAndAnyOtherNumberIsDeckTwo) {
  const Frame frame{1, 0.0, {DeckReading::empty(), 1, {}, "a", {}}, {DeckReading::noTitle(), 2, {}, "b", {}}};
  EXPECT_EQ(frame.deck(1).rule, "a");
  for (const int number : {2, 0, 3, -1}) EXPECT_EQ(frame.deck(number).rule, "b") << number;
}

TEST(Frame, StableHashIsFnv1aOverUtf8Bytes) {
  struct Case {
    std::string text;
    std::uint32_t hash;
  };
  const std::vector<Case> cases{
      {"", 0x811C9DC5u},
      {"a", 0xE40C292Cu},
      {"abc", 0x1A47E90Bu},
      {"foobar", 0xBF9CF968u},
      {"e", 0xE00C22E0u},
      {"\xC3\xA9", 0x1E9DE8C1u},   // é precomposed
      {"e\xCC\x81", 0xFA9BC71Fu},  // e and a combining acute: other bytes, other hash
      {"\xE6\x97\xA5\xE6\x9C\xAC", 0x9F26EE51u},
  };
  for (const auto& c : cases) EXPECT_EQ(Frame::stableHash(c.text), c.hash) << c.text;
}

DeckObservation observing(DeckReading reading) {
  return {std::move(reading), 12, true, "exact", MixerReading{0.8, true}};
}

TEST(Frame, RedactedReplacesOnlyUnmatchedSignatures) {
  struct Case {
    std::string signature;
    std::string redacted;
  };
  const std::vector<Case> cases{
      {"", "redacted-811c9dc5"},
      {"abc", "redacted-1a47e90b"},
      {"\xC3\x9Cn\xC3\xAF"
       "c\xC3\xB6"
       "d\xC3\xA9",
       "redacted-30667f2"},                        // below 2^28: seven digits
      {"redacted-1a47e90b", "redacted-22daeb27"},  // a second pass hashes again
  };
  for (const auto& c : cases) {
    const Frame frame{7, 3.5, observing(DeckReading::unmatched(c.signature)),
                      observing(DeckReading::unmatched(c.signature))};
    const Frame redacted = frame.redacted();
    Frame expected = frame;
    expected.deck1.reading = DeckReading::unmatched(c.redacted);
    expected.deck2.reading = DeckReading::unmatched(c.redacted);
    EXPECT_EQ(redacted, expected) << c.signature;
    EXPECT_EQ(frame.deck1.reading, DeckReading::unmatched(c.signature)) << "the original stays";
  }

  for (const auto& reading :
       {DeckReading::track("42", MatchStrength::strong), DeckReading::ambiguous({"1", "2"}),
        DeckReading::empty(), DeckReading::noTitle(), DeckReading::unreadable()}) {
    const Frame frame{1, 0.25, observing(reading), DeckObservation::unreadable()};
    EXPECT_EQ(frame.redacted(), frame) << reading.kind();
  }
}

// Every record written in its stored form, then read back.
struct Golden {
  std::string name;
  std::function<json::Value()> write;
  std::string text;
  std::function<bool(const json::Value&)> readsBack;
};

template <class T, class Read>
Golden golden(std::string name, T value, std::string text, Read read) {
  return Golden{std::move(name), [value] { return value.toJson(); }, std::move(text),
                [value, read](const json::Value& json) { return read(json) == value; }};
}

Golden content(std::string name, C value, std::string text) {
  return golden(std::move(name), std::move(value), std::move(text), C::fromJson);
}

Golden event(std::string name, E value, std::string text) {
  return golden(std::move(name), std::move(value), std::move(text), E::fromJson);
}

Golden phase(TrackerPhase value, std::string text) {
  return Golden{std::string(caseName(value)), [value] { return toJson(value); }, std::move(text),
                [value](const json::Value& json) { return trackerPhaseFromJson(json) == value; }};
}

const Focus kFocus{2, C::track("42"), (std::uint64_t{1} << 53) + 1, FocusKind::userChoice, 12.5, true};
constexpr const char* kFocusJson =
    R"({"at":12.5,"content":{"track":{"_0":"42"}},"deck":2,"deckUnloaded":true,"kind":"userChoice","seq":9007199254740993})";

std::vector<Golden> goldens() {
  return {
      content("unknown", C::unknown(), R"({"unknown":{}})"),
      content("empty", C::empty(), R"({"empty":{}})"),
      content("track", C::track("42"), R"({"track":{"_0":"42"}})"),
      content("ambiguous", C::ambiguous({"9", "10", "1"}), R"({"ambiguous":{"_0":["9","10","1"]}})"),
      content("ambiguous none", C::ambiguous({}), R"({"ambiguous":{"_0":[]}})"),
      content("unmatched", C::unmatched("night drive|someone"),
              R"({"unmatched":{"_0":"night drive|someone"}})"),
      event("initial", E::initial(1, C::track("7")),
            R"({"initial":{"content":{"track":{"_0":"7"}},"deck":1}})"),
      event(
          "load", E::load(2, C::unmatched("x"), C::empty(), 4.25),
          R"({"load":{"content":{"unmatched":{"_0":"x"}},"deck":2,"evidenceAt":4.25,"previous":{"empty":{}}}})"),
      event("refined", E::refined(1, C::track("3")),
            R"({"refined":{"content":{"track":{"_0":"3"}},"deck":1}})"),
      event("unload", E::unload(2, C::ambiguous({"1", "2"})),
            R"({"unload":{"deck":2,"previous":{"ambiguous":{"_0":["1","2"]}}}})"),
      event("focus", E::focus(kFocus), std::string(R"({"focus":{"_0":)") + kFocusJson + "}}"),
      event("startupAmbiguous", E::startupAmbiguous(), R"({"startupAmbiguous":{}})"),
      event("playEvidence", E::playEvidence(1, "42"), R"({"playEvidence":{"deck":1,"trackID":"42"}})"),
      event("staleFrameRejected", E::staleFrameRejected(std::numeric_limits<std::uint64_t>::max()),
            R"({"staleFrameRejected":{"seq":18446744073709551615}})"),
      event("changeRejected", E::changeRejected(2, "no pixel change for unresolved text"),
            R"({"changeRejected":{"deck":2,"reason":"no pixel change for unresolved text"}})"),
      golden("focus record", kFocus, kFocusJson, Focus::fromJson),
      golden("focus initial", Focus{1, C::empty(), 1, FocusKind::initial, 0, false},
             R"({"at":0.0,"content":{"empty":{}},"deck":1,"deckUnloaded":false,"kind":"initial","seq":1})",
             Focus::fromJson),
      phase(TrackerPhase::waiting, R"({"waiting":{}})"),
      phase(TrackerPhase::ambiguousStartup, R"({"ambiguousStartup":{}})"),
      phase(TrackerPhase::following, R"({"following":{}})"),
      golden("mixer", MixerReading{0.5, true}, R"({"eqNeutral":true,"fader":0.5})", MixerReading::fromJson),
      golden("observation unreadable", DeckObservation::unreadable(),
             R"({"reading":{"unreadable":{}},"rule":""})", DeckObservation::fromJson),
      golden(
          "observation full",
          DeckObservation{DeckReading::track("42", MatchStrength::strong), 95, false, "exact+artist",
                          MixerReading{0.85, false}},
          R"({"clockSeconds":95,"mixer":{"eqNeutral":false,"fader":0.85},"reading":{"track":{"id":"42","strength":2}},"rule":"exact+artist","titleAreaChanged":false})",
          DeckObservation::fromJson),
      golden(
          "frame",
          Frame{9223372036854775809u, 1234.5,
                DeckObservation{DeckReading::unmatched("abc"), {}, true, "no-library-match", {}},
                DeckObservation::unreadable()},
          R"({"deck1":{"reading":{"unmatched":{"signature":"abc"}},"rule":"no-library-match","titleAreaChanged":true},"deck2":{"reading":{"unreadable":{}},"rule":""},"seq":9223372036854775809,"time":1234.5})",
          Frame::fromJson),
  };
}

TEST(TrackerRecordsJson, WriteTheGoldenFormAndReadItBack) {
  for (const auto& g : goldens()) {
    SCOPED_TRACE(g.name);
    const json::Value written = g.write();
    EXPECT_EQ(json::write(written), g.text);
    EXPECT_TRUE(g.readsBack(written));
    EXPECT_TRUE(g.readsBack(json::parse(g.text)));
  }
}

TEST(TrackerRecordsJson, ReadersIgnoreForeignKeysAndNulls) {
  struct Case {
    std::string name;
    std::function<bool()> holds;
  };
  const auto parse = [](const char* text) { return json::parse(text); };
  const std::vector<Case> cases{
      {"foreign key beside the case",
       [&] { return C::fromJson(parse(R"({"track":{"_0":"1"},"note":3})")) == C::track("1"); }},
      {"foreign key inside the case",
       [&] { return C::fromJson(parse(R"({"track":{"_0":"1","x":true}})")) == C::track("1"); }},
      {"case without values with a foreign key inside",
       [&] { return C::fromJson(parse(R"({"empty":{"x":1}})")) == C::empty(); }},
      {"event with a foreign key",
       [&] { return E::fromJson(parse(R"({"startupAmbiguous":{"x":1},"y":2})")) == E::startupAmbiguous(); }},
      {"null clock reads absent",
       [&] {
         return DeckObservation::fromJson(
                    parse(R"({"reading":{"empty":{}},"rule":"r","clockSeconds":null})")) ==
                DeckObservation{DeckReading::empty(), {}, {}, "r", {}};
       }},
      {"largest seq reads exactly",
       [&] {
         return Frame::fromJson(
                    parse(
                        R"({"seq":18446744073709551615,"time":0,"deck1":{"reading":{"empty":{}},"rule":""},"deck2":{"reading":{"empty":{}},"rule":""}})"))
                    .seq == std::numeric_limits<std::uint64_t>::max();
       }},
  };
  for (const auto& c : cases) EXPECT_TRUE(c.holds()) << c.name;
}

TEST(TrackerRecordsJson, RejectsWhatTheStoredFormForbids) {
  struct Case {
    std::string name;
    std::function<void(const json::Value&)> read;
    std::string text;
    bool keyCountMessage;
  };
  const auto content = [](const json::Value& v) { C::fromJson(v); };
  const auto event = [](const json::Value& v) { E::fromJson(v); };
  const auto phase = [](const json::Value& v) { trackerPhaseFromJson(v); };
  const auto focus = [](const json::Value& v) { Focus::fromJson(v); };
  const auto observation = [](const json::Value& v) { DeckObservation::fromJson(v); };
  const auto mixer = [](const json::Value& v) { MixerReading::fromJson(v); };
  const auto frame = [](const json::Value& v) { Frame::fromJson(v); };
  const std::string deck = R"({"reading":{"empty":{}},"rule":""})";
  const auto frameWithSeq = [&](const std::string& seq) {
    return R"({"seq":)" + seq + R"(,"time":1,"deck1":)" + deck + R"(,"deck2":)" + deck + "}";
  };
  const std::string focusFields = R"("deck":1,"content":{"empty":{}},"seq":1,"at":0)";

  const std::vector<Case> cases{
      {"content: empty object", content, "{}", true},
      {"content: two case keys", content, R"({"track":{"_0":"1"},"empty":{}})", true},
      {"content: only an unknown key", content, R"({"Track":{"_0":"1"}})", true},
      {"content: not an object", content, R"(["track"])", false},
      {"content: mistyped _0", content, R"({"track":{"_0":1}})", false},
      {"content: missing _0", content, R"({"unmatched":{}})", false},
      {"content: ambiguous _0 not a list", content, R"({"ambiguous":{"_0":"1"}})", false},
      {"content: case value not an object", content, R"({"empty":true})", false},
      {"event: empty object", event, "{}", true},
      {"event: two case keys", event, R"({"startupAmbiguous":{},"focus":{}})", true},
      {"event: only an unknown key", event, R"({"loaded":{}})", true},
      {"event: load without evidenceAt", event,
       R"({"load":{"deck":1,"content":{"empty":{}},"previous":{"empty":{}}}})", false},
      {"event: focus without _0", event, R"({"focus":{}})", false},
      {"event: mistyped _0 of focus", event, R"({"focus":{"_0":[]}})", false},
      {"event: deck as text", event, R"({"unload":{"deck":"1","previous":{"empty":{}}}})", false},
      {"event: deck with a fraction", event, R"({"unload":{"deck":1.5,"previous":{"empty":{}}}})", false},
      {"event: startupAmbiguous not an object", event, R"({"startupAmbiguous":[]})", false},
      {"event: negative seq", event, R"({"staleFrameRejected":{"seq":-1}})", false},
      {"event: nested content with two keys", event,
       R"({"initial":{"deck":1,"content":{"unknown":{},"empty":{}}}})", true},
      {"phase: two case keys", phase, R"({"waiting":{},"following":{}})", true},
      {"phase: empty object", phase, "{}", true},
      {"phase: other letter case", phase, R"({"Following":{}})", true},
      {"phase: case value not an object", phase, R"({"following":1})", false},
      {"focus: kind in another letter case", focus,
       "{" + focusFields + R"(,"kind":"Load","deckUnloaded":false})", false},
      {"focus: unknown kind", focus, "{" + focusFields + R"(,"kind":"manual","deckUnloaded":false})", false},
      {"focus: missing deckUnloaded", focus, "{" + focusFields + R"(,"kind":"load"})", false},
      {"focus: seq as text", focus,
       R"({"deck":1,"content":{"empty":{}},"seq":"1","at":0,"kind":"load","deckUnloaded":false})", false},
      {"observation: missing rule", observation, R"({"reading":{"empty":{}}})", false},
      {"observation: missing reading", observation, R"({"rule":""})", false},
      {"observation: clock with a fraction", observation,
       R"({"reading":{"empty":{}},"rule":"","clockSeconds":1.5})", false},
      {"observation: flag as text", observation,
       R"({"reading":{"empty":{}},"rule":"","titleAreaChanged":"yes"})", false},
      {"observation: mixer without eqNeutral", observation,
       R"({"reading":{"empty":{}},"rule":"","mixer":{"fader":0.5}})", false},
      {"mixer: fader as text", mixer, R"({"fader":"0.5","eqNeutral":true})", false},
      {"frame: negative seq", frame, frameWithSeq("-1"), false},
      {"frame: seq with a fraction", frame, frameWithSeq("1.5"), false},
      {"frame: seq of 2^64", frame, frameWithSeq("18446744073709551616"), false},
      {"frame: missing deck2", frame, R"({"seq":1,"time":1,"deck1":)" + deck + "}", false},
      {"frame: missing time", frame, R"({"seq":1,"deck1":)" + deck + R"(,"deck2":)" + deck + "}", false},
  };
  for (const auto& c : cases) {
    try {
      c.read(json::parse(c.text));
      ADD_FAILURE() << c.name << ": read without error";
    } catch (const json::DecodingError& error) {
      if (c.keyCountMessage)
        EXPECT_EQ(std::string(error.what()), json::kInvalidKeyCount) << c.name;
      else
        EXPECT_NE(std::string(error.what()), json::kInvalidKeyCount) << c.name;
    }
  }
}

TEST(TrackerRecordsJson, NonFiniteNumbersAreRefusedOnWriting) {
  const Frame frame{1, std::numeric_limits<double>::infinity(), DeckObservation::unreadable(),
                    DeckObservation::unreadable()};
  EXPECT_THROW(json::write(frame.toJson()), json::EncodingError);
}

TEST(TrackerRecords, EqualityComparesEveryPayloadInOrder) {
  EXPECT_NE(C::ambiguous({"1", "2"}), C::ambiguous({"2", "1"}));
  EXPECT_NE(C::track("1"), C::unmatched("1"));
  Focus later = kFocus;
  later.seq += 1;
  EXPECT_NE(later, kFocus);
  later = kFocus;
  later.at += 0.25;
  EXPECT_NE(later, kFocus);
  EXPECT_NE(E::load(1, C::track("a"), C::empty(), 1.0), E::load(1, C::track("a"), C::empty(), 2.0));
  EXPECT_NE(E::load(1, C::track("a"), C::empty(), 1.0), E::load(1, C::track("a"), C::unknown(), 1.0));
  DeckObservation withClock = DeckObservation::unreadable();
  withClock.clockSeconds = 0;
  EXPECT_NE(withClock, DeckObservation::unreadable());
}

TEST(TrackerRecords, DerivedContentValues) {
  struct Case {
    C content;
    bool hasMedia;
    std::optional<std::string> trackID;
  };
  const std::vector<Case> cases{
      {C::unknown(), false, {}},    {C::empty(), false, {}},       {C::track("42"), true, "42"},
      {C::ambiguous({}), true, {}}, {C::unmatched("x"), true, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.content.hasMedia(), c.hasMedia) << c.content.caseName();
    EXPECT_EQ(c.content.trackID(), c.trackID) << c.content.caseName();
  }
}

TEST(FocusKind, RawValuesAreExact) {
  for (const auto kind :
       {FocusKind::initial, FocusKind::load, FocusKind::userChoice, FocusKind::resumed, FocusKind::audible})
    EXPECT_EQ(focusKind(rawValue(kind)), kind);
  EXPECT_EQ(rawValue(FocusKind::userChoice), "userChoice");
  for (const char* text : {"", "Initial", "userchoice", "manual", "load "})
    EXPECT_EQ(focusKind(text), std::nullopt);
}

}  // namespace
}  // namespace kesta
