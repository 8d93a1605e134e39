#include "library/rekordbox_xml_importer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "support/test_paths.h"

namespace kesta {
namespace {

const Date kNow{725000000};

Library importXml(std::string_view xml) { return RekordboxXMLImporter::importLibrary(xml, "test.xml", kNow); }

// A document with the given collection body and playlist tree.
std::string document(std::string_view collection, std::string_view playlists = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DJ_PLAYLISTS Version=\"1.0.0\"><COLLECTION>" +
         std::string(collection) + "</COLLECTION>" +
         (playlists.empty() ? "" : "<PLAYLISTS>" + std::string(playlists) + "</PLAYLISTS>") +
         "</DJ_PLAYLISTS>";
}

Track onlyTrack(std::string_view trackAttributes, std::string_view children = "") {
  const Library library = importXml(document("<TRACK TrackID=\"1\" " + std::string(trackAttributes) + ">" +
                                             std::string(children) + "</TRACK>"));
  EXPECT_EQ(library.tracks.size(), 1u);
  return library.tracks.at(0);
}

// The text and kind of the error an import fails with.
std::pair<std::string, LibraryImportError::Kind> failure(std::string_view xml) {
  try {
    importXml(xml);
  } catch (const LibraryImportError& error) {
    return {error.what(), error.kind()};
  }
  return {"(imported)", LibraryImportError::Kind::unreadable};
}

std::string errorText(std::string_view xml) { return failure(xml).first; }

std::string unreadable(const std::string& detail) {
  return "That file could not be read as XML (" + detail +
         "). In rekordbox choose File \u203A Export Collection in xml format, then pick the new file.";
}

const std::string kNotRekordbox =
    "That XML is not a rekordbox collection export. In rekordbox choose File \u203A Export Collection in xml "
    "format.";
const std::string kNoTracks = "That rekordbox export contains no tracks in Collection.";

// --- Reading the document ----------------------------------------------------

TEST(RekordboxXMLImporter, BadInputGetsItsErrorText) {
  const std::string good = document(R"(<TRACK TrackID="1" Name="A"/>)");
  const std::pair<std::string, std::string> cases[] = {
      {"", unreadable("line 1: no element found")},
      {good.substr(0, good.size() / 2), unreadable("line 1: no element found")},
      {good.substr(0, good.size() - 3), unreadable("line 1: unclosed token")},
      {"<?xml version=\"1.0\"?>\n<DJ_PLAYLISTS>\n<COLLECTION>\n", unreadable("line 4: no element found")},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
       unreadable("line 1: not well-formed (invalid token)")},
      {"Just some notes about my set.\n", unreadable("line 1: syntax error")},
      {document("<TRACK TrackID=\"1\" Name=\"Caf\xe9\"/>"),
       unreadable("line 1: not well-formed (invalid token)")},
      {"<rss><channel><COLLECTION><TRACK TrackID=\"1\"/></COLLECTION></channel></rss>", kNotRekordbox},
      {document(""), kNoTracks},
      {document(R"(<TRACK/><TRACK TrackID=" "/><TRACK Name="No ID"/>)",
                R"(<NODE Name="ROOT"><NODE Name="P" Type="1"><TRACK Key="1"/></NODE></NODE>)"),
       kNoTracks},
  };
  for (const auto& [xml, text] : cases) EXPECT_EQ(errorText(xml), text) << xml;
  EXPECT_EQ(failure("").second, LibraryImportError::Kind::unreadable);
  EXPECT_EQ(failure("<a/>").second, LibraryImportError::Kind::notRekordbox);
  EXPECT_EQ(failure(document("")).second, LibraryImportError::Kind::noTracks);
}

TEST(RekordboxXMLImporter, RootCountsAtAnyDepth) {
  EXPECT_EQ(importXml("<x><y><DJ_PLAYLISTS/></y><COLLECTION><TRACK TrackID=\"7\"/></COLLECTION></x>")
                .tracks.at(0)
                .id,
            "7");
}

TEST(RekordboxXMLImporter, EntitiesAreNeverLoadedFromOutside) {
  const std::string xml =
      "<?xml version=\"1.0\"?><!DOCTYPE DJ_PLAYLISTS [<!ENTITY ext SYSTEM \"file:///etc/hostname\">]>"
      "<DJ_PLAYLISTS><COLLECTION><TRACK TrackID=\"1\" Name=\"A\">&ext;</TRACK></COLLECTION></DJ_PLAYLISTS>";
  const Library library = importXml(xml);
  EXPECT_EQ(library.tracks.at(0).title, "A");
}

TEST(RekordboxXMLImporter, EntityExpansionIsRefused) {
  std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE DJ_PLAYLISTS [<!ENTITY e0 \"laugh\">";
  for (int level = 1; level <= 12; ++level) {
    xml += "<!ENTITY e" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) xml += "&e" + std::to_string(level - 1) + ";";
    xml += "\">";
  }
  xml += "]><DJ_PLAYLISTS><COLLECTION><TRACK TrackID=\"1\" Name=\"&e12;\"/></COLLECTION></DJ_PLAYLISTS>";
  const std::string text = errorText(xml);
  EXPECT_TRUE(text.starts_with("That file could not be read as XML (line 1: ")) << text;
}

TEST(RekordboxXMLImporter, FilesThatCannotBeRead) {
  const std::string cannotOpen = unreadable("file could not be opened");
  for (const auto& path :
       {std::filesystem::path("/nonexistent/rekordbox.xml"), std::filesystem::temp_directory_path()}) {
    try {
      RekordboxXMLImporter::importLibrary(path, kNow);
      ADD_FAILURE() << path;
    } catch (const LibraryImportError& error) {
      EXPECT_EQ(error.what(), cannotOpen);
      EXPECT_EQ(error.detail(), "file could not be opened");
    }
  }
}

// A playlist at the bottom of `depth` nested nodes, the top one "ROOT".
std::string nestedPlaylists(std::size_t depth) {
  std::string tree;
  for (std::size_t level = 2; level < depth; ++level) tree += "<NODE Type=\"0\" Name=\"f\">";
  tree += "<NODE Type=\"1\" Name=\"deep\"><TRACK Key=\"1\"/></NODE>";
  for (std::size_t level = 2; level < depth; ++level) tree += "</NODE>";
  return document(R"(<TRACK TrackID="1" Name="A"/>)", "<NODE Type=\"0\" Name=\"ROOT\">" + tree + "</NODE>");
}

TEST(RekordboxXMLImporter, PlaylistNestingIsBoundedAtItsDocumentedDepth) {
  const std::size_t limit = RekordboxXMLImporter::maximumNodeDepth;
  const Library deepest = importXml(nestedPlaylists(limit));
  ASSERT_EQ(deepest.playlists.size(), 1u);
  EXPECT_EQ(deepest.playlists[0].folderPath, std::vector<std::string>(limit - 2, "f"));
  EXPECT_EQ(deepest.playlists[0].trackIDs, std::vector<SharedText>{"1"});

  const std::string refused =
      unreadable("playlist folders nested more than " + std::to_string(limit) + " deep");
  EXPECT_EQ(errorText(nestedPlaylists(limit + 1)), refused);
  // Ten thousand folders once took gigabytes, each copying the path above it.
  EXPECT_EQ(errorText(nestedPlaylists(10'000)), refused);
}

TEST(RekordboxXMLImporter, OneTextIsBoundedAtItsEdge) {
  const std::size_t limit = 64 * 1024;
  const std::string refused = unreadable("a text is longer than 65536 bytes");
  const auto track = [](std::string_view attribute, std::size_t length) {
    return document(
        "<TRACK TrackID=\"1\" " + std::string(attribute) + "=\"" + std::string(length, 'x') + "\"/>",
        "<NODE Name=\"ROOT\"><NODE Type=\"1\" Name=\"p\"><TRACK Key=\"1\"/></NODE></NODE>");
  };
  EXPECT_EQ(importXml(track("Comments", limit)).tracks.size(), 1u);
  EXPECT_EQ(importXml(track("Unknown", limit + 1)).tracks.size(), 1u) << "an attribute that is not kept";
  for (const char* attribute : {"Name", "Location", "Comments", "Tonality"}) {
    EXPECT_EQ(errorText(track(attribute, limit + 1)), refused) << attribute;
  }
  const std::string longPlaylistName =
      document(R"(<TRACK TrackID="1"/>)", "<NODE Name=\"" + std::string(limit + 1, 'p') + "\"/>");
  EXPECT_EQ(errorText(longPlaylistName), refused);
}

TEST(RekordboxXMLImporter, SpecialAndOversizedFilesAreRefusedBeforeReading) {
  const auto folder = std::filesystem::temp_directory_path() / ("kesta-import-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  ASSERT_EQ(::mkfifo((folder / "fifo.xml").c_str(), 0600), 0);
  std::ofstream(folder / "beyond.xml") << document(R"(<TRACK TrackID="1"/>)");
  std::filesystem::resize_file(folder / "beyond.xml", RekordboxXMLImporter::maximumFileBytes + 1);

  const std::pair<std::string, std::string> cases[] = {
      {"fifo.xml", "file could not be opened"},
      {"beyond.xml", "file is larger than 1 GB"},
  };
  for (const auto& [name, detail] : cases) {
    try {
      RekordboxXMLImporter::importLibrary(folder / name, kNow);
      ADD_FAILURE() << name;
    } catch (const LibraryImportError& error) {
      EXPECT_EQ(error.detail(), detail) << name;
    }
  }
  std::filesystem::remove_all(folder);
}

TEST(RekordboxXMLImporter, CueCountsAndBeatGrid) {
  const Track cues =
      onlyTrack("", R"(<POSITION_MARK Num="0"/><POSITION_MARK Num="3"/><POSITION_MARK Num="-1"/>)"
                    R"(<POSITION_MARK/><POSITION_MARK Num="a"/><POSITION_MARK Num=" 2"/>)"
                    R"(<POSITION_MARK Num="+4"/>)");
  EXPECT_EQ(cues.hotCueCount, 3);
  EXPECT_EQ(cues.memoryCueCount, 4);

  const std::pair<std::string, std::optional<double>> grids[] = {
      {R"(<TEMPO Bpm=""/><TEMPO Bpm="128.00"/><TEMPO Bpm="130.00"/>)", 128},
      {R"(<TEMPO/><TEMPO Bpm="x"/><TEMPO Bpm="96,5"/>)", 96.5},
      {R"(<TEMPO Bpm="0.00"/><TEMPO Bpm="126"/>)", std::nullopt},  // the first readable tempo is 0
      {"", std::nullopt},
  };
  for (const auto& [children, bpm] : grids) EXPECT_EQ(onlyTrack("", children).bpm, bpm) << children;

  // A nested TRACK closes the entry: later children of the outer entry no longer count.
  const Library nested = importXml(document(
      R"(<TRACK TrackID="1"><POSITION_MARK Num="1"/><TRACK TrackID="2"/><POSITION_MARK Num="2"/></TRACK>)"));
  ASSERT_EQ(nested.tracks.size(), 1u);
  EXPECT_EQ(nested.tracks[0].hotCueCount, 1);
}

TEST(RekordboxXMLImporter, BpmFallsBackToTheBeatGrid) {
  const Library library =
      importXml(document(R"(<TRACK TrackID="1" Name="A" AverageBpm="0.00"><TEMPO Bpm="126"/></TRACK>)"
                         R"(<TRACK TrackID="2" Name="B"/>)"
                         R"(<TRACK TrackID="3" Name="C" AverageBpm="124.5"><TEMPO Bpm="126"/></TRACK>)"));
  EXPECT_EQ(library.tracks[0].bpm, 126);
  EXPECT_EQ(library.tracks[1].bpm, std::nullopt);
  EXPECT_EQ(library.tracks[2].bpm, 124.5);
  EXPECT_EQ(library.report.bpmFromBeatGrid, 1);
  EXPECT_EQ(library.report.missingBPM, 1);
  EXPECT_EQ(library.report.recommendable, 2);
}

TEST(RekordboxXMLImporter, RatingsBecomeStars) {
  const std::pair<const char*, int> cases[] = {
      {R"(Rating="0")", 0},   {R"(Rating="51")", 1},  {R"(Rating="102")", 2}, {R"(Rating="153")", 3},
      {R"(Rating="204")", 4}, {R"(Rating="255")", 5}, {R"(Rating="25")", 0},  {R"(Rating="26")", 1},
      {R"(Rating="300")", 5}, {R"(Rating="-60")", 0}, {R"(Rating="x")", 0},   {"", 0},
  };
  for (const auto& [attributes, stars] : cases) EXPECT_EQ(onlyTrack(attributes).stars, stars) << attributes;
}

TEST(RekordboxXMLImporter, TextFieldsAreCleaned) {
  const Track track = onlyTrack(
      "Name=\"\n  Title \t\" Artist=\" Artist&#10;\" Remixer=\"\tRemix \" Genre=\"&#10;Genre\" "
      "TotalTime=\"245.9\" "
      "PlayCount=\"-3\" Tonality=\" 8A \" Comments=\"energy 5\"");
  EXPECT_EQ(track.title, "Title");
  EXPECT_EQ(track.artist, "Artist");
  EXPECT_EQ(track.remixer, "Remix");
  EXPECT_EQ(track.genre, "\nGenre");  // trimmed of spaces only
  EXPECT_EQ(track.durationSeconds, 245);
  EXPECT_EQ(track.playCount, 0);
  EXPECT_EQ(track.keyText, "8A");
  EXPECT_EQ(track.musicalKey, (MusicalKey{8, true}));
  EXPECT_EQ(track.energy, 5);

  const Library notations = importXml(document(
      R"(<TRACK TrackID="1" Tonality="8A&#10;"/><TRACK TrackID="2" Tonality="8m"/><TRACK TrackID="3" Tonality="A min"/>)"
      R"(<TRACK TrackID="4" Tonality="08A"/>)"));
  EXPECT_EQ(notations.report.keyNotations,
            (std::map<std::string, int>{{"Camelot", 1}, {"Open Key", 1}, {"Musical", 2}}));

  const Track bare = onlyTrack("");
  EXPECT_EQ(bare.title, "");
  EXPECT_EQ(bare.keyText, std::nullopt);
  EXPECT_EQ(bare.key.raw, "meta:||0");
  EXPECT_EQ(bare.source.slug, "unknown");
}

TEST(RekordboxXMLImporter, TrackIdsAreTrimmedAndTheFirstWins) {
  const Library library = importXml(document(
      R"(<TRACK TrackID=" 5 " Name="First"/><TRACK TrackID="5" Name="Second"/><TRACK TrackID="  "/><TRACK/>)"));
  ASSERT_EQ(library.tracks.size(), 1u);
  EXPECT_EQ(library.tracks[0].id, "5");
  EXPECT_EQ(library.tracks[0].title, "First");
  EXPECT_EQ(library.report.duplicateTrackIDs, 1);
  EXPECT_EQ(library.report.totalEntries, 1);
}

TEST(RekordboxXMLImporter, LocationsGiveSourceAndKey) {
  struct Case {
    std::string location;
    std::string slug;
    std::string key;  // "meta" for the metadata key, "" for any file key
    bool recognised;
  };
  const Case cases[] = {
      // sha256sum of "file://localhost/Users/dj/Music/Sky Walk.flac" and of the Windows path
      {"file://localhost/Users/dj/Music/Sky%20Walk.flac", "local", "file:dabbd75b30cb2573e9d7ead2", true},
      {"file://localhost/C:/Music/Sky%20Walk.flac", "local", "file:4b8de60ba3ab285091f430c5", true},
      {"FILE://LOCALHOST/C:/Music/Sky%20Walk.flac", "local", "", true},
      {"file:///Users/dj/a.mp3", "local", "", true},
      {"/Users/dj/a.mp3", "local", "", true},
      {"file://localhostspotify:track:ABC", "spotify", "spotify:ABC", true},
      {"spotify:track:ABC", "spotify", "spotify:ABC", true},
      {"https://open.spotify.com/track/ABC?si=1", "spotify", "spotify:ABC", true},
      {"file://localhostsoundcloud:tracks:842762641", "soundcloud", "soundcloud:842762641", true},
      {"TIDAL:tracks:42", "tidal", "tidal:42", true},
      {"apple-music:track:1:2", "apple-music", "apple-music:1:2", true},
      {"beatport:release:5", "beatport", "meta", false},
      {"tidal:track:4/2", "tidal", "meta", false},
      {"Music/a.mp3", "unknown", "meta", false},
      {"", "unknown", "meta", false},
      {"C:\\Music\\a.mp3", "c", "meta", false},  // a drive letter reads as a scheme word
      {"9x:track:1", "unknown", "meta", false},
  };
  for (const Case& c : cases) {
    const Track track = onlyTrack("Name=\"T\" Artist=\"A\" TotalTime=\"9\" Location=\"" + c.location + "\"");
    EXPECT_EQ(track.source.slug, c.slug) << c.location;
    if (c.key == "meta") {
      EXPECT_EQ(track.key.raw, "meta:t|a|9") << c.location;
    } else if (c.key.empty()) {
      EXPECT_TRUE(track.key.raw.starts_with("file:")) << c.location;
    } else {
      EXPECT_EQ(track.key.raw, c.key) << c.location;
    }
    const Library library = importXml(document("<TRACK TrackID=\"1\" Location=\"" + c.location + "\"/>"));
    EXPECT_EQ(library.report.unrecognisedLocations, c.recognised ? 0 : 1) << c.location;
  }
}

TEST(RekordboxXMLImporter, MalformedEscapesKeepTheLocationAsWritten) {
  // A bad escape, a cut-off one, and one that decodes to bytes that are no UTF-8.
  for (const char* location :
       {"file://localhost/Bad%zzEscape.mp3", "file://localhost/a%2", "file://localhost/a%ff.mp3"}) {
    const Track track = onlyTrack("Location=\"" + std::string(location) + "\"");
    EXPECT_EQ(track.key, StableKey::forLocation(location)) << location;
    EXPECT_EQ(track.source, Source::local()) << location;
  }
}

// --- Playlists --------------------------------------------------------------

TEST(RekordboxXMLImporter, PlaylistPathsOrdinalsAndFolders) {
  const std::string tracks = R"(<TRACK TrackID="1"/>)";
  const Library rooted = importXml(document(tracks, R"(
      <NODE Name="ROOT" Type="0">
        <NODE Name="F" Type="0">
          <NODE Name="P" Type="1"/><NODE Name="P" Type="1"/><NODE Name="Q" Type="1" KeyType="0"/>
        </NODE>
        <NODE Name="F" Type="1"/>
        <NODE Name="P" Type="1"/>
        <NODE Type="1"/>
        <NODE Name="" Type="1"/>
        <NODE Name="G"><NODE Name="P" Type="1"/></NODE>
      </NODE>)"));
  struct Expected {
    const char* name;
    std::vector<std::string> path;
  };
  const Expected expected[] = {{"P", {"F"}}, {"P", {"F"}},     {"Q", {"F"}}, {"F", {}},
                               {"P", {}},    {"Untitled", {}}, {"", {}},     {"P", {"G"}}};
  ASSERT_EQ(rooted.playlists.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(rooted.playlists[i].name, expected[i].name) << i;
    EXPECT_EQ(rooted.playlists[i].folderPath, expected[i].path) << i;
  }
  // Ordinals, through the ids: sha256sum of "F␟P␟#0", "F␟P␟#1" and "F␟#1" (a folder and
  // then a playlist named F share the count).
  EXPECT_EQ(rooted.playlists[0].id, "6d0d6fb843a045c6");
  EXPECT_EQ(rooted.playlists[1].id, "3477cdfc91e6b52f");
  EXPECT_EQ(rooted.playlists[3].id, "7ea0c6f4664bef89");
  EXPECT_EQ(rooted.report.folders, 2);
  EXPECT_EQ(rooted.report.playlists, 8);
  EXPECT_EQ(rooted.report.repeatedPlaylistNames, 1);  // "P"
  EXPECT_EQ(rooted.report.emptyPlaylists, 8);

  const Library named = importXml(document(
      tracks,
      R"(<NODE Name="T"><NODE Name="P" Type="1"/><NODE Name="F"><NODE Name="P" Type="1"/></NODE></NODE>)"));
  ASSERT_EQ(named.playlists.size(), 2u);
  EXPECT_EQ(named.playlists[0].folderPath, (std::vector<std::string>{"T"}));
  EXPECT_EQ(named.playlists[1].folderPath, (std::vector<std::string>{"T", "F"}));
  EXPECT_NE(named.playlists[0].id, named.playlists[1].id);
  EXPECT_EQ(named.report.folders, 1);
}

TEST(RekordboxXMLImporter, PlaylistEntriesResolve) {
  const Library library = importXml(document(
      R"(<TRACK TrackID="1" Location="file://localhost/a.mp3"/><TRACK TrackID="2" Location="file://localhost/a.mp3"/>)"
      R"(<TRACK TrackID="3" Location="file://localhost/b%20c.mp3"/>)",
      R"(<NODE Name="ROOT">
           <NODE Name="ById" Type="1" KeyType="0"><TRACK Key="3"/><TRACK Key="1"/><TRACK Key="3"/><TRACK Key=" 1"/><TRACK/></NODE>
           <NODE Name="ByLocation" Type="1" KeyType="1">
             <TRACK Key="file://localhost/a.mp3"/><TRACK Key="file://localhost/b%20c.mp3"/>
             <TRACK Key="file://localhost/b c.mp3"/><TRACK Key="3"/>
           </NODE>
           <NODE Name="Gone" Type="1" KeyType="1"><TRACK Key="file://localhost/x.mp3"/></NODE>
           <TRACK Key="1"/>
         </NODE>
         <TRACK Key="2"/>)"));
  ASSERT_EQ(library.playlists.size(), 3u);
  EXPECT_EQ(library.playlists[0].trackIDs, (std::vector<SharedText>{"3", "1", "3"}));
  EXPECT_EQ(library.playlists[1].trackIDs, (std::vector<SharedText>{"2", "3"}));  // the later entry wins
  EXPECT_TRUE(library.playlists[2].trackIDs.empty());
  EXPECT_EQ(library.report.unresolvedPlaylistEntries, 1 + 2 + 1);
  EXPECT_EQ(library.report.emptyPlaylists, 1);
  EXPECT_EQ(library.tracks[0].key, library.tracks[1].key);
}

// Every entry that names one track, by TrackID or by location, in any
// playlist, holds the same text: a long id repeated costs nothing more.
TEST(RekordboxXMLImporter, PlaylistEntriesOfOneTrackShareItsId) {
  const std::string longId(60'000, 'x');
  const Library library = importXml(document(
      R"(<TRACK TrackID=")" + longId + R"(" Location="/a.mp3"/><TRACK TrackID="2" Location="/b.mp3"/>)",
      R"(<NODE Name="ROOT">
           <NODE Name="ByLocation" Type="1" KeyType="1"><TRACK Key="/a.mp3"/><TRACK Key="/b.mp3"/><TRACK Key="/a.mp3"/></NODE>
           <NODE Name="ById" Type="1" KeyType="0"><TRACK Key=")" +
          longId + R"("/><TRACK Key="2"/></NODE>
         </NODE>)"));
  ASSERT_EQ(library.playlists.size(), 2u);
  const auto& byLocation = library.playlists[0].trackIDs;
  const auto& byId = library.playlists[1].trackIDs;
  ASSERT_EQ(byLocation.size(), 3u);
  ASSERT_EQ(byId.size(), 2u);
  EXPECT_EQ(byLocation[0], longId);
  EXPECT_TRUE(byLocation[0].sharesWith(byLocation[2]));
  EXPECT_TRUE(byLocation[0].sharesWith(byId[0]));
  EXPECT_TRUE(byLocation[1].sharesWith(byId[1]));
  EXPECT_FALSE(byLocation[0].sharesWith(byLocation[1]));
}

// --- Whole exports ----------------------------------------------------------

struct ExpectedTrack {
  std::string id, key, slug, title, artist, genre;
  std::optional<double> bpm;
  std::optional<std::string> keyText;
  std::optional<std::string> camelot;
  std::optional<int> energy;
  int duration, playCount, stars, hot, memory;
};

void expectTracks(const Library& library, const std::vector<ExpectedTrack>& expected) {
  ASSERT_EQ(library.tracks.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Track& track = library.tracks[i];
    const ExpectedTrack& e = expected[i];
    SCOPED_TRACE("track " + e.id);
    EXPECT_EQ(track.id, e.id);
    EXPECT_EQ(track.key.raw, e.key);
    EXPECT_EQ(track.source.slug, e.slug);
    EXPECT_EQ(track.title, e.title);
    EXPECT_EQ(track.artist, e.artist);
    EXPECT_EQ(track.genre, e.genre);
    EXPECT_EQ(track.remixer, "");
    EXPECT_EQ(track.bpm, e.bpm);
    EXPECT_EQ(track.keyText, e.keyText);
    EXPECT_EQ(track.musicalKey ? std::optional(track.musicalKey->camelot()) : std::nullopt, e.camelot);
    EXPECT_EQ(track.energy, e.energy);
    EXPECT_EQ(track.durationSeconds, e.duration);
    EXPECT_EQ(track.playCount, e.playCount);
    EXPECT_EQ(track.stars, e.stars);
    EXPECT_EQ(track.hotCueCount, e.hot);
    EXPECT_EQ(track.memoryCueCount, e.memory);
  }
}

TEST(RekordboxXMLImporter, HandBuiltExportWithRealWorldQuirks) {
  const auto file = test::sourceDir() / "tests" / "library" / "fixtures" / "quirks.xml";
  const Library library = RekordboxXMLImporter::importLibrary(file, kNow);
  EXPECT_EQ(library.sourceFileName, "quirks.xml");
  EXPECT_EQ(library.importedAt, kNow);

  const std::string opener = "S\u00f8rensen & Co \u2014 Opener";
  const std::string anna = "Anna S\u00f8rensen";
  expectTracks(library, {
                            {"101", "file:6f6789d87ec0173f6c404d79", "local", opener, anna, "Deep House", 122,
                             "Abm", "1A", 6, 412, 7, 4, 2, 1},
                            {"102", "file:55d649013c0ba463febb7cfe", "local", "Rain 'Dub' ?",
                             "The \"Quoted\" Band", "Dub", std::nullopt, "Fmin", "4A", 9, 360, 0, 0, 0, 0},
                            {"103", "file:4b8de60ba3ab285091f430c5", "local", "Sky Walk", "Kilo", "Techno",
                             126, "8d", "3B", std::nullopt, 301, 2, 1, 0, 0},
                            {"104", "soundcloud:842762641", "soundcloud", "Cloud Tune", "Nimbus", "", 124,
                             "4A", "4A", std::nullopt, 245, 12, 5, 0, 0},
                            {"105", "spotify:4uLU6hMCjMI75M1A2tKUQQ", "spotify", "Sun Song", "Solar", "",
                             118.5, std::nullopt, std::nullopt, std::nullopt, 199, 0, 0, 0, 0},
                            {"106", "file:195f36a0bac0c0f11cd7568d", "local", "", "", "", std::nullopt,
                             std::nullopt, std::nullopt, std::nullopt, 0, 0, 0, 0, 0},
                            {"107", "meta:skywalk|kilo|0", "beatport", "Sky Walk", "KILO", "", 126, "X#",
                             std::nullopt, std::nullopt, 0, 0, 0, 0, 0},
                            {"108", "meta:lost|nobody|200", "unknown", "Lost", "Nobody", "", 128.5, "H",
                             std::nullopt, std::nullopt, 200, 0, 0, 0, 0},
                            {"109", "tidal:42", "tidal", "Tidal Wave", "Ocean", "", 125, "12B", "12B",
                             std::nullopt, 0, 0, 0, 0, 0},
                            {"110", "file:6f6789d87ec0173f6c404d79", "local", "Same Place", anna, "", 122,
                             "H", std::nullopt, std::nullopt, 0, 0, 0, 0, 0},
                            {"111", "file:919fe1577e05d68d9685da1e", "local", "Deep Blue", "Marine", "", 121,
                             "unknown", std::nullopt, std::nullopt, 0, 0, 0, 0, 2},
                            {"112", "spotify:4uLU6hMCjMI75M1A2tKUQQ", "spotify", "Web Link", "Solar", "",
                             118.5, "5A", "5A", std::nullopt, 0, 0, 0, 0, 0},
                        });

  // sha256sum of the folder path, name and "#ordinal", joined with U+001F.
  const std::vector<Playlist> playlists = {
      {"ae3fb052f2a1dd03", "Warm Up", {"Gigs"}, {"101", "103", "101"}},
      {"63e81570a902a0b7", "Warm Up", {"Gigs"}, {"104"}},
      {"b756c7ff9e7270b4", "Old & Gold", {"Gigs", "Archive"}, {"110"}},
      {"1d065358f3dffcc3", "Warm Up", {}, {"105"}},
      {"b3b96d0542db946b", "Empty One", {}, {}},
      {"cbc8436b06afa45e", "Streaming Only", {}, {}},
  };
  EXPECT_EQ(library.playlists, playlists);

  ImportReport report;
  report.totalEntries = 12;
  report.recommendable = 10;
  report.missingTitle = 1;
  report.missingBPM = 2;
  report.bpmFromBeatGrid = 1;
  report.missingKey = 6;
  report.unrecognisedKeyValues = {"H", "X#", "unknown"};
  report.keyNotations = {{"Camelot", 3}, {"Musical", 2}, {"Open Key", 1}};
  report.sources = {{"beatport", 1}, {"local", 6}, {"soundcloud", 1},
                    {"spotify", 2},  {"tidal", 1}, {"unknown", 1}};
  report.unrecognisedLocations = 2;
  report.energyTagged = 2;
  report.folders = 2;
  report.playlists = 6;
  report.emptyPlaylists = 2;
  report.unresolvedPlaylistEntries = 3;
  report.repeatedPlaylistNames = 1;
  report.duplicateSongs = 1;
  report.duplicateTrackIDs = 1;
  EXPECT_EQ(library.report, report);
  EXPECT_EQ(
      library.report.notes(),
      (std::vector<std::string>{
          "Found 12 tracks: Local files 6 \u00B7 Spotify 2 \u00B7 Beatport 1 \u00B7 SoundCloud 1 \u00B7 "
          "TIDAL 1 \u00B7 Unknown 1.",
          "2 tracks have a location Kesta does not recognise. They are still usable; their source shows as "
          "their location type.",
          "2 tracks have no BPM, so Kesta cannot suggest them. Analyze them in rekordbox and export again.",
          "6 tracks have no key. They can still appear, marked Key \u2014, but never as a Pivot.",
          "Some key values were not understood: H, X#, unknown.",
          "6 playlists in 2 folders. 2 are empty.",
          "3 playlist entries point to tracks missing from Collection and were skipped.",
          "2 tracks carry an energy rating in Comments or Grouping.",
          "1 songs appear more than once with the same title and artist. They are treated as one song for "
          "repeats.",
      }));

  // The stored form of an import reads back as the same library.
  const std::string stored = json::write(library.toJson());
  EXPECT_EQ(json::write(Library::fromJson(json::parse(stored)).toJson()), stored);
}

TEST(RekordboxXMLImporter, RealExportFromRekordbox6) {
  const auto dir = test::rekordboxXmlDir();
  if (!dir) GTEST_SKIP() << "no shared rekordbox exports";
  const Library library =
      RekordboxXMLImporter::importLibrary(*dir / "pyrekordbox_rb6-6.6.2_database.xml", kNow);
  EXPECT_EQ(library.sourceFileName, "pyrekordbox_rb6-6.6.2_database.xml");

  const auto sample = [](std::string id, std::string key, std::string title) {
    return ExpectedTrack{std::move(id),
                         std::move(key),
                         "local",
                         std::move(title),
                         "",
                         "",
                         std::nullopt,
                         std::nullopt,
                         std::nullopt,
                         std::nullopt,
                         0,
                         0,
                         0,
                         0,
                         0};
  };
  std::vector<ExpectedTrack> expected = {
      {"253529738", "file:e6e913cb8a07999f4c427778", "local", "Demo Track 1", "Loopmasters", "", 128, "Fm",
       "4A", std::nullopt, 172, 0, 0, 0, 0},
      {"17109519",
       StableKey::forLocation("file://localhost/C:/Music/PioneerDJ/Demo Tracks/Demo Track 2.mp3").raw,
       "local", "Demo Track 2", "Loopmasters", "", 120, "Fm", "4A", std::nullopt, 128, 0, 0, 0, 0},
      sample("49557014", "file:a7eb4536f4771c56c2dea948", "HORN"),
      sample("209873516", "", "NOISE"),
      sample("55231398", "", "SINEWAVE"),
      sample("92396897", "", "SIREN"),
  };
  expected[2].duration = 7;
  for (std::size_t i = 3; i < expected.size(); ++i) {
    expected[i].key =
        StableKey::forLocation("file://localhost/C:/Music/PioneerDJ/Sampler/OSC_SAMPLER/PRESET ONESHOT/" +
                               expected[i].title + ".wav")
            .raw;
  }
  expected[3].duration = 5;
  expected[4].duration = 5;
  expected[5].duration = 7;
  expectTracks(library, expected);

  // sha256sum of "Trial playlist - Cloud Library Sync␟#0"
  EXPECT_EQ(library.playlists,
            (std::vector<Playlist>{{"b9c1c83c7e47fc82", "Trial playlist - Cloud Library Sync", {}, {}}}));
  ImportReport report;
  report.totalEntries = 6;
  report.recommendable = 2;
  report.missingBPM = 4;
  report.missingKey = 4;
  report.keyNotations = {{"Musical", 2}};
  report.sources = {{"local", 6}};
  report.playlists = 1;
  report.emptyPlaylists = 1;
  EXPECT_EQ(library.report, report);
  EXPECT_EQ(
      library.report.notes(),
      (std::vector<std::string>{
          "Found 6 tracks: Local files 6.",
          "No Spotify tracks are in this export. rekordbox 7.2.16 and later can add Spotify tracks to "
          "Collection; if you use them, add them to Collection or a playlist, then export again.",
          "4 tracks have no BPM, so Kesta cannot suggest them. Analyze them in rekordbox and export again.",
          "4 tracks have no key. They can still appear, marked Key \u2014, but never as a Pivot.",
          "1 playlist. 1 is empty.",
          "No energy ratings were found, so Raise energy and Breather use tempo as a stand-in and say so.",
      }));
}

TEST(RekordboxXMLImporter, RealExportFromRekordbox5WithCuesAndNoPlaylists) {
  const auto dir = test::rekordboxXmlDir();
  if (!dir) GTEST_SKIP() << "no shared rekordbox exports";
  const Library library =
      RekordboxXMLImporter::importLibrary(*dir / "dj-data-converter_rb5-5.6.1_cues-loops.xml", kNow);
  const std::string folder =
      "file://localhost/D:/Music/Collections/Performance/Lossy/Downloads/Various Artists/Club Meduse/";
  expectTracks(
      library,
      {
          {"22184",
           StableKey::forLocation(folder + "Whatever You Do (Instrumental) - The C.V.Q. Band.mp3").raw,
           "local", "Whatever You Do (Instrumental)", "The C.V.Q. Band", "", 116.28, "Cm", "5A", std::nullopt,
           279, 1, 0, 5, 5},
          {"22187", "file:37888597774d0c9eb6c262ad", "local", "Savannah", "The Keyboys", "", 105.54, "Am",
           "8A", std::nullopt, 221, 1, 0, 7, 7},
      });
  EXPECT_TRUE(library.playlists.empty());
  ImportReport report;
  report.totalEntries = 2;
  report.recommendable = 2;
  report.keyNotations = {{"Musical", 2}};
  report.sources = {{"local", 2}};
  EXPECT_EQ(library.report, report);
  EXPECT_EQ(
      library.report.notes(),
      (std::vector<std::string>{
          "Found 2 tracks: Local files 2.",
          "No Spotify tracks are in this export. rekordbox 7.2.16 and later can add Spotify tracks to "
          "Collection; if you use them, add them to Collection or a playlist, then export again.",
          "This export contains no playlists. Kesta can still use your full collection.",
          "No energy ratings were found, so Raise energy and Breather use tempo as a stand-in and say so.",
      }));
}

}  // namespace
}  // namespace kesta
