#include "reading/screen_track.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "reading/reading_fixtures.h"
#include "reading/shown_metadata.h"

namespace kesta {

void PrintTo(const ScreenTrack& track, std::ostream* out) {
  *out << "{" << track.title << " / " << track.artist << " / " << track.bpm << " / "
       << track.keyText.value_or("-") << "}";
}

namespace {

using Lines = std::vector<std::string>;

TEST(ScreenTrack, FromDeckLines) {
  struct Case {
    std::string name;
    Lines lines;
    std::optional<ScreenTrack> expected;
  };
  const std::vector<Case> cases = {
      {"title, artist, BPM and key",
       {" Night Drive \n", "Some Artist", "124.00", "8A"},
       ScreenTrack{"Night Drive", "Some Artist", 124.0, "8A"}},
      {"no BPM readout", {"Night Drive", "Some Artist"}, std::nullopt},
      {"BPM below the range", {"Night Drive", "49.99"}, std::nullopt},
      {"BPM above the range", {"Night Drive", "220.01"}, std::nullopt},
      {"lowest BPM", {"Night Drive", "50.00"}, ScreenTrack{"Night Drive", "", 50.0, std::nullopt}},
      {"highest BPM", {"Night Drive", "220.00"}, ScreenTrack{"Night Drive", "", 220.0, std::nullopt}},
      {"only readouts and labels", {"CUE", "124.00", "8A", "3:07"}, std::nullopt},
      {"what is never a title or artist",
       {"x", "12-34 !", "MASTER", "Now Loading", "+2.5%", "F#m", "3:07 remain", "-1:45", "Night Drive",
        "Artist", "Third Line", "(124.00)"},
       ScreenTrack{"Night Drive", "Artist", 124.0, "F#m"}},
      {"key name with a flat sign",
       {"Night Drive", "128,50", "E♭m"},
       ScreenTrack{"Night Drive", "", 128.5, "E♭m"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ScreenTrack::from(c.lines), c.expected);
  }
}

TEST(ScreenTrack, KeyReadouts) {
  EXPECT_EQ(ScreenTrack::keyTextIn(Lines{"Title", "11b"}), "11b");
  EXPECT_EQ(ScreenTrack::keyTextIn(Lines{"C", "F#", "13A"}), std::nullopt);
  EXPECT_EQ(ScreenTrack::keyTextIn(Lines{"124.00 ‹Abm›"}), "Abm");
  EXPECT_EQ(ScreenTrack::keyTextIn(Lines{}), std::nullopt);
}

TEST(ScreenTrack, AsTrack) {
  const Track made = ScreenTrack{"Night Drive", "Some Artist", 124.0, "8A"}.asTrack("nightdrive|someartist");
  EXPECT_EQ(made.id, "screen:nightdrive|someartist");
  EXPECT_EQ(made.key, StableKey{"screen:nightdrive|someartist"});
  EXPECT_EQ(made.source, Source{"screen"});
  EXPECT_EQ(made.musicalKey, MusicalKey::parsing("8A"));
  EXPECT_TRUE(made.isRecommendable());

  const Track unparsed = ScreenTrack{"T", "", 100.0, "Xm"}.asTrack("t");
  EXPECT_EQ(unparsed.keyText, "Xm");
  EXPECT_EQ(unparsed.musicalKey, std::nullopt);

  EXPECT_TRUE(ScreenTrack::isScreenTrack(made));
  EXPECT_FALSE(ScreenTrack::isScreenTrack(test::libraryTrack("file:screen:1", "T")));
  EXPECT_FALSE(ScreenTrack::isScreenTrack(test::libraryTrack("Screen:1", "T")));
}

TEST(ShownMetadata, FillingKeepsLibraryValues) {
  struct Case {
    std::string name;
    Track track;
    ShownMetadata shown;
    std::optional<double> bpm;
    std::optional<std::string> keyText;
  };
  using test::libraryTrack;
  const std::vector<Case> cases = {
      {"another track's metadata",
       libraryTrack("1", "T", "", std::nullopt),
       {"2", "8A", 124.0},
       std::nullopt,
       std::nullopt},
      {"fills both", libraryTrack("1", "T", "", std::nullopt), {"1", "8A", 124.0}, 124.0, "8A"},
      {"library values win", libraryTrack("1", "T", "", 120.0, "5B"), {"1", "8A", 124.0}, 120.0, "5B"},
      {"a BPM of 0 is no BPM", libraryTrack("1", "T", "", 0.0, "5B"), {"1", "8A", 124.0}, 124.0, "5B"},
      {"an unparsed key text gives way",
       libraryTrack("1", "T", "", 120.0, "??"),
       {"1", "8A", std::nullopt},
       120.0,
       "8A"},
      {"only the BPM wanted clears an unparsed key",
       libraryTrack("1", "T", "", std::nullopt, "??"),
       {"1", std::nullopt, 124.0},
       124.0,
       std::nullopt},
      {"nothing shown",
       libraryTrack("1", "T", "", std::nullopt, "??"),
       {"1", std::nullopt, std::nullopt},
       std::nullopt,
       "??"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Track filled = filling(c.track, c.shown);
    EXPECT_EQ(filled.bpm, c.bpm);
    EXPECT_EQ(filled.keyText, c.keyText);
    EXPECT_EQ(filled.musicalKey, c.keyText ? MusicalKey::parsing(*c.keyText) : std::nullopt);
    EXPECT_EQ(filled.key, c.track.key);
    EXPECT_EQ(filled.title, c.track.title);
  }
}

}  // namespace
}  // namespace kesta
