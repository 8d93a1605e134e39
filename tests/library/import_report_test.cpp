#include "library/import_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "golden.h"
#include "library/library.h"
#include "platform/json/json_coding.h"

namespace kesta {
namespace {

const char* const kNoSpotify =
    "No Spotify tracks are in this export. rekordbox 7.2.16 and later can add Spotify tracks to Collection; "
    "if you "
    "use them, add them to Collection or a playlist, then export again.";
const char* const kNoPlaylists =
    "This export contains no playlists. Kesta can still use your full collection.";
const char* const kNoEnergy =
    "No energy ratings were found, so Raise energy and Breather use tempo as a stand-in and say so.";

ImportReport populated() {
  ImportReport report;
  report.totalEntries = 1213;
  report.recommendable = 1190;
  report.missingTitle = 2;
  report.missingBPM = 21;
  report.bpmFromBeatGrid = 4;
  report.missingKey = 30;
  report.unrecognisedKeyValues = {"?", "Fmaj7", "H", "Xm", "unknown"};
  report.keyNotations = {{"Camelot", 10}, {"Musical", 1173}};
  report.sources = {{"local", 3}, {"soundcloud", 10}, {"spotify", 1200}};
  report.unrecognisedLocations = 5;
  report.energyTagged = 40;
  report.folders = 3;
  report.playlists = 12;
  report.emptyPlaylists = 2;
  report.unresolvedPlaylistEntries = 7;
  report.repeatedPlaylistNames = 1;
  report.duplicateSongs = 9;
  report.duplicateTrackIDs = 1;
  return report;
}

TEST(ImportReport, NotesOfTheEmptyLibrary) {
  EXPECT_EQ(Library::empty().report.notes(),
            (std::vector<std::string>{"Found 0 tracks: .", kNoSpotify, kNoPlaylists, kNoEnergy}));
}

TEST(ImportReport, NotesOfAPopulatedLibrary) {
  EXPECT_EQ(
      populated().notes(),
      (std::vector<std::string>{
          "Found 1213 tracks: Spotify 1200 \u00B7 SoundCloud 10 \u00B7 Local files 3.",
          "5 tracks have a location Kesta does not recognise. They are still usable; their source shows as "
          "their location type.",
          "21 tracks have no BPM, so Kesta cannot suggest them. Analyze them in rekordbox and export again.",
          "30 tracks have no key. They can still appear, marked Key \u2014, but never as a Pivot.",
          "Some key values were not understood: ?, Fmaj7, H, Xm.",
          "12 playlists in 3 folders. 2 are empty.",
          "7 playlist entries point to tracks missing from Collection and were skipped.",
          "40 tracks carry an energy rating in Comments or Grouping.",
          "9 songs appear more than once with the same title and artist. They are treated as one song for "
          "repeats.",
      }));
}

TEST(ImportReport, PlaylistSentenceForms) {
  struct Case {
    int playlists, folders, empty;
    const char* sentence;
  };
  const Case cases[] = {
      {1, 1, 1, "1 playlist in 1 folder. 1 is empty."},
      {2, 0, 0, "2 playlists."},
      {1, 0, 0, "1 playlist."},
      {3, 2, 0, "3 playlists in 2 folders."},
      {5, 0, 3, "5 playlists. 3 are empty."},
      {0, 4, 0, kNoPlaylists},
  };
  for (const Case& c : cases) {
    ImportReport report;
    report.playlists = c.playlists;
    report.folders = c.folders;
    report.emptyPlaylists = c.empty;
    EXPECT_EQ(report.notes().at(2), c.sentence);
  }
}

TEST(ImportReport, CountedSentencesHaveNoSingular) {
  ImportReport report;
  report.missingBPM = 1;
  report.sources = {{"spotify", 0}};  // the key's presence counts, not its value
  EXPECT_EQ(report.notes(),
            (std::vector<std::string>{
                "Found 0 tracks: Spotify 0.",
                "1 tracks have no BPM, so Kesta cannot suggest them. Analyze them in rekordbox and "
                "export again.",
                kNoPlaylists,
                kNoEnergy,
            }));
}

TEST(ImportReport, EqualSourceCountsComeOutInSlugOrder) {
  ImportReport report;
  report.totalEntries = 4;
  report.sources = {{"tidal", 2}, {"beatport", 2}};
  EXPECT_EQ(report.notes().front(), "Found 4 tracks: Beatport 2 \u00B7 TIDAL 2.");
}

TEST(ImportReport, JsonForm) {
  const std::string golden = test::readGolden("import_report.json");
  EXPECT_EQ(json::write(populated().toJson()), golden);
  EXPECT_EQ(ImportReport::fromJson(json::parse(golden)), populated());
  EXPECT_EQ(json::write(ImportReport{}.toJson()), test::readGolden("import_report_empty.json"));

  const json::Value stored = json::parse(golden);
  for (const auto& [key, value] : stored.items()) {
    json::Value missing = stored;
    missing.erase(key);
    EXPECT_THROW(ImportReport::fromJson(missing), json::DecodingError) << key;
  }
  json::Value badCount = stored;
  badCount["sources"]["spotify"] = "1200";
  EXPECT_THROW(ImportReport::fromJson(badCount), json::DecodingError);
}

}  // namespace
}  // namespace kesta
