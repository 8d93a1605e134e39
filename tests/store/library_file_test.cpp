#include "store/library_file.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/library_file_reader.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::oneThreadText;

TEST(LibraryFile, EncodesByteForByteAsTheWholeRecordAndDecodesBack) {
  for (const std::size_t count : {0, 1, 1999, 2000, 4500}) {
    StoredLibrary stored{test::sampleLibrary(count), "/Music/export.xml", Date{12.5}};
    if (count > 0) stored.library.tracks[0].title = R"(Tricky "tracks":[]} {[ \ title)";
    const auto text = LibraryFile::encode(stored);
    EXPECT_EQ(text, oneThreadText(stored)) << count << " tracks";
    EXPECT_EQ(json::write(LibraryFile::decode(text).toJson()), text) << count << " tracks";
  }
}

// A library is written whole up to the limit, byte for byte; one byte more
// and nothing is written, but the text still tells the size it would have.
TEST(LibraryFile, ATextOverTheLimitIsMeasuredNotWritten) {
  Library escaped = test::sampleLibrary(3);
  escaped.playlists[0].trackIDs = {"quote \"", "quote \"", "", "\u00e9\n"};
  escaped.playlists.push_back(Playlist{"00000000000000ff", "Empty", {}, {}});
  const std::vector<std::pair<std::string, Library>> libraries = {
      {"no playlists", Library{test::sampleLibrary(5).tracks, {}, {}, "x.xml", Date{1}}},
      {"one playlist",
       [] {
         Library library = test::sampleLibrary(2001);
         library.playlists.resize(1);
         return library;
       }()},
      {"several playlists", test::sampleLibrary(4500)},
      {"escaped and empty entries", escaped},
  };
  for (const auto& [label, library] : libraries) {
    const std::string whole = oneThreadText(StoredLibrary{library, "/e.xml", std::nullopt});
    const auto fits = LibraryFile::encodeText(library, "/e.xml", std::nullopt, whole.size());
    EXPECT_EQ(fits.joined(), whole) << label;
    EXPECT_EQ(fits.size(), whole.size()) << label;
    const auto over = LibraryFile::encodeText(library, "/e.xml", std::nullopt, whole.size() - 1);
    EXPECT_TRUE(over.pieces.empty()) << label;
    EXPECT_EQ(over.size(), whole.size()) << label;
  }
}

TEST(LibraryFile, ANonFiniteNumberInAnySliceFailsTheEncoding) {
  StoredLibrary stored{test::sampleLibrary(4100), "/x.xml", std::nullopt};
  stored.library.tracks[4000].bpm = std::numeric_limits<double>::quiet_NaN();
  EXPECT_THROW(LibraryFile::encode(stored), json::EncodingError);
}

// Entries from a short id to ones of several KB, repeated, escaped, first and
// last in their playlist: the text is the one-piece encoding's, and each long
// entry is held once however often it is listed.
TEST(LibraryFile, LongEntriesAreWrittenOnceAndReadBackShared) {
  // Entries of one text share it, as the importer and the decoding make them.
  const SharedText longId(std::string(4000, 'a'));
  const SharedText quoted(std::string(300, 'q') + "\"\u00e9");
  const SharedText backslash(std::string(300, 'r') + "\\");
  const SharedText belowShared(std::string(253, 'b'));  // 255 bytes once quoted
  const SharedText atShared(std::string(254, 'c'));
  const std::vector<std::pair<std::string, std::vector<std::vector<SharedText>>>> cases = {
      {"one long entry listed often", {std::vector<SharedText>(300, longId)}},
      {"long and short mixed", {{longId, "1", longId, "2", "3", longId}, {"4", longId}}},
      {"escaped long entries", {{quoted, quoted, "1", backslash}, {quoted, backslash}}},
      {"at the edge of sharing", {{belowShared, atShared, belowShared, atShared}}},
      {"no entries", {{}, {longId}}},
  };
  for (const auto& [label, lists] : cases) {
    Library library = test::sampleLibrary(12);
    library.playlists.clear();
    std::uint64_t listed = 0;
    std::map<std::string, std::size_t> distinctEntries;
    for (const auto& entries : lists) {
      library.playlists.push_back(Playlist{
          "00000000000000b" + std::to_string(library.playlists.size()), "List", {"Folder"}, entries});
      for (const auto& entry : entries) {
        listed += entry.str().size();
        distinctEntries[entry.str()] = entry.str().size();
      }
    }
    std::uint64_t distinctBytes = 0;
    for (const auto& [entry, bytes] : distinctEntries) distinctBytes += bytes;
    const std::string whole = oneThreadText(StoredLibrary{library, "/e.xml", std::nullopt});
    const auto text = LibraryFile::encodeText(library, "/e.xml", std::nullopt);
    EXPECT_EQ(text.joined(), whole) << label;
    EXPECT_EQ(text.size(), whole.size()) << label;
    std::set<const std::string*> distinct;
    std::uint64_t held = 0;
    for (const auto& piece : text.pieces) {
      if (distinct.insert(piece.get()).second) held += piece->size();
    }
    // The text without its entries, and each distinct entry twice at most
    // (alone and after a comma).
    EXPECT_LT(held, whole.size() - listed + 2 * distinctBytes + 1024) << label;

    // Read as written, as laid out by hand, and with a playlist the scanner
    // cannot follow (an escaped key), which is decoded whole.
    const auto at = whole.find("\"name\":\"List\"");
    const std::vector<std::string> texts = {
        whole, json::parse(whole).dump(2),
        whole.substr(0, at) + "\"n\\u0061me\":\"List\"" + whole.substr(at + 13)};
    for (const std::string& stored : texts) {
      const StoredLibrary read = LibraryFile::decode(stored);
      EXPECT_EQ(read.library.playlists, library.playlists) << label;
      std::map<std::string, SharedText> first;
      for (const auto& playlist : read.library.playlists) {
        for (const auto& entry : playlist.trackIDs) {
          const auto [known, added] = first.emplace(entry.str(), entry);
          EXPECT_TRUE(known->second.sharesWith(entry)) << label << ": " << entry.str().substr(0, 8);
        }
      }
    }
  }
}

}  // namespace
}  // namespace kesta
