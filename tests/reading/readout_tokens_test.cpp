#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "library/musical_key.h"
#include "reading/loose_form.h"
#include "reading/track_matcher.h"

namespace kesta {
namespace {

using Lines = std::vector<std::string>;

TEST(ReadoutTokens, WhatIsAReadout) {
  const Lines readouts = {"+2.5%", "-10%", "0.0%", "100%", "---", "--.-", "-",   "128.00", "128,5", " 8A ",
                          "\t12B", "8a",   "Am",   "F#m",  "Ebm", "C♯m",  "D♭m", "+0",     "-7.25", "--:--"};
  for (const auto& text : readouts) EXPECT_TRUE(TrackMatcher::isMetadataToken(text)) << text;
  const Lines others = {"13A", "0A",  "C", "F#",    "128",   "1280.5",     "128.001", "am",
                        "Hm",  "8AB", "",  "+1234", "12:34", "Some Title", "-1-",     "1:"};
  for (const auto& text : others) EXPECT_FALSE(TrackMatcher::isMetadataToken(text)) << text;
}

TEST(ReadoutTokens, LinesFirstThenTheirPieces) {
  EXPECT_EQ(TrackMatcher::readoutTokens(Lines{"128.00 BPM", "(8A)"}),
            (Lines{"128.00 BPM", "(8A)", "128.00", "BPM", "8A"}));
  EXPECT_EQ(TrackMatcher::readoutTokens(Lines{"  «Am»\n‹120.5›  [ ] ", ""}),
            (Lines{"  «Am»\n‹120.5›  [ ] ", "", "Am", "120.5", "", ""}));
  EXPECT_TRUE(TrackMatcher::readoutTokens(Lines{}).empty());
}

TEST(ReadoutTokens, MetadataHints) {
  struct Case {
    Lines lines;
    std::optional<double> bpm;
    std::optional<std::string> key;
  };
  const std::vector<Case> cases = {
      {{"128.00 BPM", "(8A)"}, 128.0, "8A"},
      {{"128"}, std::nullopt, std::nullopt},
      {{"128,5"}, 128.5, std::nullopt},
      {{"1280.5"}, std::nullopt, std::nullopt},
      {{" 8A "}, std::nullopt, "8A"},
      {{"Title", "F#m 126.00"}, 126.0, "11A"},
      // Whole lines come before any piece, so the second line's value wins.
      {{"Artist 120.00", "124.00"}, 124.0, std::nullopt},
      // The first BPM never gets replaced; the first key neither.
      {{"122.00", "130.00", "5A", "9B"}, 122.0, "5A"},
      // A BPM-shaped token that reads as no number leaves the field open.
      {{"١٢٨.٠٠", "127.50"}, 127.5, std::nullopt},
      {{}, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.lines));
    const auto hints = TrackMatcher::metadataHints(c.lines);
    EXPECT_EQ(hints.bpm, c.bpm);
    EXPECT_EQ(hints.key, c.key ? MusicalKey::parsing(*c.key) : std::nullopt);
  }
}

TEST(LooseForm, ReadsLookalikeDigitsAsLetters) {
  EXPECT_EQ(looseForm("Dub 101"), "dublol");
  EXPECT_EQ(looseForm("T|tle 2000"), "ttle2ooo");
  EXPECT_EQ(looseForm(""), "");
}

}  // namespace
}  // namespace kesta
