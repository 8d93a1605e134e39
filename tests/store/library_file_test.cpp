#include "store/library_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

std::string oneThreadText(const StoredLibrary& stored) { return json::write(stored.toJson()); }

// The sliced decoding must accept and reject exactly what the whole decoding does.
void expectSameJudgement(const std::string& text, const std::string& label) {
  std::optional<std::string> whole;
  try {
    whole = json::write(StoredLibrary::fromJson(json::parse(text)).toJson());
  } catch (const std::exception&) {
  }
  std::optional<std::string> sliced;
  try {
    sliced = json::write(LibraryFile::decode(text).toJson());
  } catch (const std::exception&) {
  }
  EXPECT_EQ(whole.has_value(), sliced.has_value()) << label;
  if (whole && sliced) {
    EXPECT_EQ(*whole, *sliced) << label;
  }
}

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

TEST(LibraryFile, DecodingJudgesEveryTextAsTheWholeDecodingDoes) {
  const StoredLibrary stored{test::sampleLibrary(4100), "/x.xml", Date{1}};
  const std::string text = oneThreadText(stored);
  const auto replaced = [&](const std::string& from, const std::string& to, std::size_t after = 0) {
    std::string changed = text;
    const auto at = changed.find(from, after);
    changed.replace(at, from.size(), to);
    return changed;
  };
  const std::size_t middle = text.size() / 2;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"pretty printed", StoredLibrary::fromJson(json::parse(text)).toJson().dump(2)},
      {"missing comma between tracks", replaced("},{\"artist\"", "} {\"artist\"", middle)},
      {"a track that is a number", replaced("},{\"artist\"", "},7,{\"artist\"", middle)},
      {"a track without its id", replaced("\"id\":", "\"identifier\":", middle)},
      {"an escaped key", replaced("\"tracks\":", "\"tr\\u0061cks\":")},
      {"a second track list", replaced("\"sourceFileName\":", "\"tracks\":[],\"sourceFileName\":")},
      {"garbage after the object", text + "x"},
      {"white space after the object", text + " \n"},
      {"cut short", text.substr(0, middle)},
      {"unclosed string", replaced("\"title\":\"", "\"title\":\"\\", middle)},
      {"tracks not a list", replaced("\"tracks\":[", "\"tracks\":{\"a\":[")},
  };
  for (const auto& [label, changed] : cases) expectSameJudgement(changed, label);
}

}  // namespace
}  // namespace kesta
