#include "reading/track_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "reading/reading_fixtures.h"

namespace kesta {
namespace {

using test::libraryOf;
using test::libraryTrack;
using Lines = std::vector<std::string>;

struct Case {
  std::string name;
  std::vector<Track> tracks;
  Lines lines;
  DeckReading reading;
  std::string rule;
};

void expectVerdicts(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MatchResult result = TrackMatcher::match(c.lines, LibraryIndex(libraryOf(c.tracks)));
    EXPECT_EQ(result.rule, c.rule);
    EXPECT_EQ(result.reading, c.reading) << "got " << json::write(result.reading.toJson());
  }
}

DeckReading track(std::string id, MatchStrength strength = MatchStrength::normal) {
  return DeckReading::track(std::move(id), strength);
}
constexpr MatchStrength strong = MatchStrength::strong;

const Track nightcrawl = libraryTrack("1", "Nightcrawl", "Some Artist");
const Track sunset = libraryTrack("2", "Sunset", "Shore Line");
const Track overtone = libraryTrack("3", "Overtone", "Kilo");
const Track overtoneDeluxe = libraryTrack("4", "Overtone Deluxe", "Kilo");
const Track overtoneReprise = libraryTrack("5", "Overtone Reprise", "Kilo");

TEST(TrackMatcher, EarlyVerdicts) {
  expectVerdicts({
      {"nothing", {nightcrawl}, {}, DeckReading::unreadable(), "no-text"},
      {"blank and punctuation", {nightcrawl}, {"  ", "---", "\n…"}, DeckReading::unreadable(), "no-text"},
      {"empty deck beats a visible title",
       {nightcrawl},
       {"Nightcrawl", "Some Artist", "No Track Loaded"},
       DeckReading::empty(),
       "empty-indicator"},
      {"empty indicator in any spelling",
       {nightcrawl},
       {"NOT  LOADED."},
       DeckReading::empty(),
       "empty-indicator"},
      {"labels, clocks and readouts",
       {nightcrawl},
       {"CUE", "SYNC", "3:45", "128.00", "Now Loading...", "8A"},
       DeckReading::noTitle(),
       "controls-only"},
      {"three titles are a list",
       {nightcrawl, sunset, overtone},
       {"Nightcrawl", "Sunset", "Overtone"},
       DeckReading::unreadable(),
       "track-list"},
      {"two titles are matched", {nightcrawl, sunset}, {"Nightcrawl", "Sunset"}, track("1", strong), "exact"},
      {"labels around a title are ignored",
       {nightcrawl},
       {"MASTER", "Nightcrawl", "-1:02.5", "CUE"},
       track("1", strong),
       "exact"},
  });
}

TEST(TrackMatcher, ExactStage) {
  const Track deepWaters = libraryTrack("6", "Deep Waters", "Tide");
  const Track deepWatersRising = libraryTrack("7", "Deep Waters Rising", "Tide");
  expectVerdicts({
      {"title and artist", {nightcrawl}, {"Nightcrawl", "Some Artist"}, track("1", strong), "exact+artist"},
      {"title alone from 8 characters", {nightcrawl}, {"Nightcrawl"}, track("1", strong), "exact"},
      {"8 characters exactly", {overtone}, {"OVERTONE"}, track("3", strong), "exact"},
      {"short title alone", {sunset}, {"Sunset"}, track("2"), "exact"},
      {"cut line with two longer titles",
       {overtone, overtoneDeluxe, overtoneReprise},
       {"Overtone…"},
       DeckReading::ambiguous({"3", "4", "5"}),
       "exact-shared-prefix"},
      {"cut line with no longer title",
       {overtone},
       {"Overtone..."},
       DeckReading::ambiguous({"3"}),
       "exact-shared-prefix"},
      {"whole line but a longer title exists",
       {deepWaters, deepWatersRising},
       {"Deep Waters"},
       DeckReading::ambiguous({"6", "7"}),
       "exact-shared-prefix"},
      {"one longer title beats the shared prefix",
       {deepWaters, deepWatersRising},
       {"Deep Waters…"},
       track("7"),
       "prefix"},
      {"artist confirms despite a longer title",
       {deepWaters, deepWatersRising},
       {"Deep Waters", "Tide"},
       track("6", strong),
       "exact+artist"},
  });
}

TEST(TrackMatcher, ArtistConfirmation) {
  const Track crew = libraryTrack("8", "Nightcrawl", "Marco Polo & The Night Crew");
  expectVerdicts({
      {"artist inside a longer line",
       {nightcrawl},
       {"Nightcrawl", "Some Artist - Remastered"},
       track("1", strong),
       "exact+artist"},
      {"artist cut off", {nightcrawl}, {"Nightcrawl", "Some Art…"}, track("1", strong), "exact+artist"},
      {"artist cut off too short", {nightcrawl}, {"Nightcrawl", "Some"}, track("1", strong), "exact"},
      {"half of the artist words",
       {crew},
       {"Nightcrawl", "Crew feat. Marco"},
       track("8", strong),
       "exact+artist"},
      {"one artist word of four is not enough", {crew}, {"Nightcrawl", "Marco"}, track("8", strong), "exact"},
      {"the title line does not confirm itself",
       {libraryTrack("9", "Solaris", "Solaris")},
       {"Solaris"},
       track("9"),
       "exact"},
  });
}

TEST(TrackMatcher, PrefixStage) {
  const Track caller = libraryTrack("10", "Midnight Caller", "Vox");
  const Track calling = libraryTrack("11", "Midnight Calling", "Other");
  expectVerdicts({
      {"cut line, one longer title", {caller}, {"Midnight Cal…"}, track("10"), "prefix"},
      {"cut line, two longer titles",
       {caller, calling},
       {"Midnight Cal…"},
       DeckReading::ambiguous({"10", "11"}),
       "weak-only"},
      {"cut line with the artist", {caller, calling}, {"Midnight Cal…", "Vox"}, track("10"), "prefix+artist"},
      {"uncut line with the artist", {caller}, {"Midnight Cal", "Vox"}, track("10"), "prefix+artist"},
      {"uncut line without the artist",
       {caller},
       {"Midnight Cal"},
       DeckReading::unmatched("midnightcal"),
       "no-library-match"},
      {"short cut line scores low", {caller}, {"Midnig…"}, DeckReading::ambiguous({"10"}), "weak-only"},
  });
}

TEST(TrackMatcher, NearStage) {
  const Track boulevard = libraryTrack("12", "Sunset Blvd", "Coast");
  const Track city = libraryTrack("13", "Nightcrawl Through The City", "Some Artist");
  expectVerdicts({
      {"one error in 10 characters", {nightcrawl}, {"Nightcrawi"}, track("1"), "near"},
      {"one error in 9 characters",
       {boulevard},
       {"Sunset Bld"},
       DeckReading::unmatched("sunsetbld"),
       "no-library-match"},
      {"one error with the artist", {boulevard}, {"Sunset Bld", "Coast"}, track("12"), "near+artist"},
      {"two errors in 24 characters need the artist",
       {city},
       {"Nightcravvl Through The City", "Some Artist"},
       track("13"),
       "near+artist"},
      {"two errors without the artist",
       {city},
       {"Nightcravvl Through The City"},
       DeckReading::unmatched("nightcravvlthroughthecity"),
       "no-library-match"},
  });
}

// Very long lines allow so many edits that a near title's score drops below
// zero; such a candidate counts as none rather than an empty ambiguous list.
TEST(TrackMatcher, NegativeScoresCountAsNoCandidate) {
  const std::string title = "abcd" + std::string(796, 'x');
  std::string misread = title;
  for (std::size_t i = 10; i < 10 + 78; ++i) misread[i] = 'y';
  expectVerdicts({
      {"78 edits in 800 characters",
       {libraryTrack("30", title, "Some Artist")},
       {misread, "Some Artist"},
       DeckReading::unmatched(misread + "|someartist"),
       "no-library-match"},
      {"a score of zero is kept",
       {libraryTrack("30", title, "Some Artist")},
       {title.substr(0, 10) + std::string(76, 'y') + title.substr(86), "Some Artist"},
       DeckReading::ambiguous({"30"}),
       "weak-only"},
  });
}

TEST(TrackMatcher, MergedStage) {
  const Track great = libraryTrack("13", "Great Song", "Artist");
  const Track theArtist = libraryTrack("14", "Great Song", "The Artist");
  expectVerdicts({
      {"title and artist on one line", {great}, {"Great Song Artist"}, track("13"), "merged+artist"},
      {"artist on another line",
       {theArtist},
       {"Great Song Extra", "The Artist"},
       track("14"),
       "merged+artist"},
      {"no artist anywhere",
       {great},
       {"Great Song Remix"},
       DeckReading::unmatched("greatsongremix"),
       "no-library-match"},
      {"title under half the line",
       {great},
       {"Great Song Some Artist"},
       DeckReading::unmatched("greatsongsomeartist"),
       "no-library-match"},
  });
}

// A line cut short shows the start of a title that goes on: it names no
// title it cannot be, whatever the artist shown. Lines not cut read as before.
TEST(TrackMatcher, CutLinesNameOnlyTitlesThatGoOn) {
  const Track sea = libraryTrack("20", "ים של אהבה", "Omer Adam");
  const Track seaMix = libraryTrack("21", "ים של אהבה (Original Mix)", "Omer Adam");
  const Track road = libraryTrack("22", "דרך של אהבה", "Omer Adam");
  const Track roadMix = libraryTrack("23", "דרך של אהבה (Club Mix)", "Omer Adam");
  const Track lights = libraryTrack("24", "أضواء الشرق", "Yasmine Saad");
  const Track lightsMix = libraryTrack("25", "أضواء الشرق (Club Mix)", "Yasmine Saad");
  const Track oasis = libraryTrack("26", "Oasis Dream بلا حدود", "Yasmine Saad");
  const Track oasisRemix =
      libraryTrack("27", "Oasis Dream بلا حدود (Remix)",
                   "Yasmine Saad, Salma Aziz, Omar Nabil, Hana Fathy, Karim Adel, Dina Samir");
  expectVerdicts({
      {"a whole title cut, its version by the artist shown",
       {sea, seaMix},
       {"ים של אהבה (…", "Omer Adam"},
       track("21"),
       "prefix+artist"},
      {"a whole title cut, its versions by another artist",
       {sea, libraryTrack("28", "ים של אהבה (Radio Edit)", "Noa Kirel"),
        libraryTrack("29", "ים של אהבה (Extended Mix)", "Noa Kirel")},
       {"ים של אהבה…", "Omer Adam"},
       DeckReading::ambiguous({"20", "28", "29"}),
       "exact-shared-prefix"},
      {"a whole title cut that no title goes on from",
       {sea},
       {"ים של אהבה…", "Omer Adam"},
       track("20", strong),
       "exact+artist"},
      {"a cut line one letter off",
       {road, roadMix},
       {"דרך של אהבה (6…", "Omer Adam"},
       track("23"),
       "near+artist"},
      {"a cut line that versions begin with is not read as misread",
       {libraryTrack("40", "Midnight Signal (Radio Edit)"), libraryTrack("41", "Midnight Signal (Rave Mix)"),
        libraryTrack("42", "Midnight Signal (Remix)")},
       {"Midnight Signal (Ra…"},
       DeckReading::ambiguous({"40", "41"}),
       "weak-only"},
      {"one letter off, not cut",
       {road, roadMix},
       {"דרך של אהבה (6", "Omer Adam"},
       track("22"),
       "near+artist"},
      {"a title inside a cut line, the artist on another line",
       {lights, lightsMix},
       {"أضواء الشرق we…", "Yasmine Saad"},
       DeckReading::unmatched("أضواءالشرقwe|yasminesaad"),
       "no-library-match"},
      {"a title inside a cut line, its artist run on and cut",
       {lights, lightsMix},
       {"أضواء الشرق Yasmine S…"},
       track("24"),
       "merged+artist"},
      {"a title inside a line not cut",
       {lights, lightsMix},
       {"أضواء الشرق we)", "Yasmine Saad"},
       track("24"),
       "merged+artist"},
      {"a cut artist line shows only an artist it begins",
       {oasis, oasisRemix},
       {"Oasis Dream بلا…", "Yasmine Saad, Salma Azi…"},
       track("27"),
       "prefix+artist"},
      {"a cut artist line is never an artist whole",
       {oasis, oasisRemix},
       {"Oasis Dream بلا…", "Yasmine Saad…"},
       DeckReading::ambiguous({"26", "27"}),
       "tie:prefix+artist"},
  });
}

TEST(TrackMatcher, WeakLines) {
  const Track zoo = libraryTrack("15", "Zoo", "Wild Band");
  const Track ratio = libraryTrack("16", "2:1", "Wild Band");
  expectVerdicts({
      {"weak title alone", {zoo}, {"Zoo"}, DeckReading::unmatched("zoo"), "no-library-match"},
      {"weak title with its artist", {zoo}, {"Zoo", "Wild Band"}, track("15", strong), "exact+artist"},
      {"weak line with a colon",
       {ratio},
       {"2:1", "Wild Band"},
       DeckReading::unmatched("wildband"),
       "no-library-match"},
      {"digits only",
       {libraryTrack("17", "12345", "Band")},
       {"12345"},
       DeckReading::unmatched("12345"),
       "no-library-match"},
  });
}

TEST(TrackMatcher, DuplicateEntriesOfOneSong) {
  const auto entry = [](std::string id, std::string stableKey, std::optional<double> bpm,
                        std::optional<std::string> key) {
    return libraryTrack(std::move(id), "Nightcrawl", "Some Artist", bpm, std::move(key),
                        std::move(stableKey));
  };
  const Lines shown = {"Nightcrawl", "Some Artist", "126.00", "8A"};
  expectVerdicts({
      {"shown key beats shown BPM",
       {entry("a", "meta:1", 126, std::nullopt), entry("b", "meta:2", 90, "8A")},
       shown,
       track("b", strong),
       "exact+artist+dup"},
      {"BPM within 2% beats suggestible",
       {entry("a", "meta:1", 90, std::nullopt), entry("b", "meta:2", 128.5, "3B")},
       shown,
       track("b", strong),
       "exact+artist+dup"},
      {"suggestible beats no BPM",
       {entry("a", "meta:1", std::nullopt, std::nullopt), entry("b", "meta:2", 90, "3B")},
       shown,
       track("b", strong),
       "exact+artist+dup"},
      {"smaller stable key settles the rest",
       {entry("a", "meta:2", 90, "3B"), entry("b", "meta:1", 90, "3B")},
       shown,
       track("b", strong),
       "exact+artist+dup"},
      {"only the chosen entry of a cut title",
       {libraryTrack("a", "Overtone", "Kilo", 124, std::nullopt, "meta:2"),
        libraryTrack("b", "Overtone", "Kilo", 124, std::nullopt, "meta:1")},
       {"Overtone…"},
       DeckReading::ambiguous({"b"}),
       "exact-shared-prefix"},
  });
}

TEST(TrackMatcher, TiesBetweenSongs) {
  const Track minor = libraryTrack("20", "Nightcrawl", "First Band", 124, "8A");
  const Track major = libraryTrack("21", "Nightcrawl", "Second Band", 124, "8B");
  expectVerdicts({
      {"shown key settles", {minor, major}, {"Nightcrawl", "8A"}, track("20"), "tie-settled"},
      {"no key shown", {minor, major}, {"Nightcrawl"}, DeckReading::ambiguous({"20", "21"}), "tie:exact"},
      {"key both lack",
       {minor, major},
       {"Nightcrawl", "3A"},
       DeckReading::ambiguous({"20", "21"}),
       "tie:exact"},
      {"artist line decides before the tie",
       {minor, major},
       {"Nightcrawl", "Second Band"},
       track("21", strong),
       "exact+artist"},
      {"ids sort as text",
       {libraryTrack("9", "Nightcrawl", "A1"), libraryTrack("10", "Nightcrawl", "B1")},
       {"Nightcrawl"},
       DeckReading::ambiguous({"10", "9"}),
       "tie:exact"},
  });
}

TEST(TrackMatcher, NoMatchSignatures) {
  expectVerdicts({
      {"first two legible lines",
       {nightcrawl},
       {"Unknown Tune", "Mystery Person", "Third Line"},
       DeckReading::unmatched("unknowntune|mysteryperson"),
       "no-library-match"},
      {"short lines leave no signature", {nightcrawl}, {"ab"}, DeckReading::noTitle(), "controls-only"},
      {"short lines are skipped",
       {nightcrawl},
       {"ab", "Unknown Tune"},
       DeckReading::unmatched("unknowntune"),
       "no-library-match"},
      {"empty library", {}, {"Unknown Tune"}, DeckReading::unmatched("unknowntune"), "no-library-match"},
  });
}

}  // namespace
}  // namespace kesta
