#include "store/library_file_reader.h"

#include <gtest/gtest.h>

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/json/json_coding.h"
#include "store/store_fixtures.h"

namespace kesta {
namespace {

using test::oneThreadText;

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
      {"an entry that is a number", replaced("\"trackIDs\":[", "\"trackIDs\":[7,")},
      {"an entry that is a list", replaced("\"trackIDs\":[", "\"trackIDs\":[[\"1\"],")},
      {"an entry cut to a literal", replaced("\"trackIDs\":[", "\"trackIDs\":[tru,")},
      {"an entry with an escaped letter", replaced("\"trackIDs\":[\"", "\"trackIDs\":[\"\\u0041")},
      {"an escaped entry", replaced("\"trackIDs\":[\"", "\"trackIDs\":[\"\\u00e9\\\"")},
      {"an entry with a raw line break", replaced("\"trackIDs\":[\"", "\"trackIDs\":[\"\n")},
      {"an entry that is not UTF-8", replaced("\"trackIDs\":[\"", "\"trackIDs\":[\"\xff")},
      {"entries not a list", replaced("\"trackIDs\":[", "\"trackIDs\":\"x\",\"y\":[")},
      {"a playlist without entries", replaced("\"trackIDs\":[", "\"ids\":[")},
      {"a playlist that is a list", replaced("\"playlists\":[{", "\"playlists\":[[],{")},
      {"a playlist whose second entry list is the good one",
       replaced("\"trackIDs\":[", "\"trackIDs\":[7],\"trackIDs\":[")},
      {"a playlist without its name", replaced("\"name\":\"Playlist", "\"title\":\"Playlist")},
      {"a second playlist list", replaced("\"report\":", "\"playlists\":[],\"report\":")},
      {"playlists after the tracks",
       [&] {
         const auto json = json::parse(text);
         const std::string library = json::write(json["library"]["playlists"]);
         std::string changed = replaced("\"playlists\":" + library + ",", "");
         changed.insert(changed.rfind(']') + 1, ",\"playlists\":" + library);
         return changed;
       }()},
  };
  for (const auto& [label, changed] : cases) expectSameJudgement(changed, label);
}

// The text fed in blocks of the given size, as a start reads the file.
StoredLibrary readInBlocks(const std::string& text, std::size_t blockBytes, std::size_t* held = nullptr) {
  LibraryFile::Reader reader;
  for (std::size_t at = 0; at < text.size(); at += blockBytes)
    reader.add(std::string_view(text).substr(at, blockBytes));
  if (held) *held = reader.heldBytes();
  return std::move(reader).decode();
}

// A long id listed hundreds of times is held once, whatever it holds and
// wherever the blocks split it.
TEST(LibraryFileReader, HoldsEachLongTextOnce) {
  const std::vector<std::pair<std::string, std::string>> ids = {
      {"plain", std::string(1500, 'a')},
      {"ending in a backslash", std::string(1500, 'b') + "\\"},
      {"ending in two backslashes", std::string(1500, 'c') + "\\\\"},
      {"with quotes", "\"" + std::string(1500, 'd') + "\"\\\""},
      {"just long enough", std::string(LibraryFile::Reader::longTextBytes - 2, 'e')},
  };
  for (const auto& [label, id] : ids) {
    Library library = test::sampleLibrary(5);
    const SharedText entry(id);
    library.playlists = {Playlist{"00000000000000c1", "A", {}, std::vector<SharedText>(150, entry)},
                         Playlist{"00000000000000c2", "B", {}, {"1", entry, "2", entry}}};
    const std::string text = oneThreadText(StoredLibrary{library, "/e.xml", std::nullopt});
    for (const std::size_t blockBytes : {std::size_t{1}, std::size_t{7}, std::size_t{1000}, text.size()}) {
      std::size_t held = 0;
      const StoredLibrary read = readInBlocks(text, blockBytes, &held);
      EXPECT_EQ(read.library.playlists, library.playlists) << label << ", blocks of " << blockBytes;
      EXPECT_LT(held, text.size() - 154 * id.size() + 4 * id.size()) << label << ", blocks of " << blockBytes;
    }
  }
}

// Read in blocks, the file is judged as the whole decoding judges it, long
// texts anywhere and raw control characters included.
TEST(LibraryFileReader, JudgesEveryTextAsTheWholeDecodingDoes) {
  Library library = test::sampleLibrary(30);
  library.tracks[3].title = std::string(2000, 't') + "\\\"";
  library.playlists[0].trackIDs.push_back(std::string(1100, 'x'));
  const std::string text = oneThreadText(StoredLibrary{library, "/x.xml", Date{1}});
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string changed = text;
    changed.replace(changed.find(from), from.size(), to);
    return changed;
  };
  const std::string longKey = "\"" + std::string(1200, 'k') + "\":1,";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"as written", text},
      {"a long key in a track", replaced("{\"artist\"", "{" + longKey + "\"artist\"")},
      {"a long key in the library", replaced("\"playlists\":", longKey + "\"playlists\":")},
      {"a raw control character in a long text", replaced("ttt", "t\x01t")},
      {"a short text that reads as a long one's stand-in",
       replaced("\"Title 1 (Extended Mix)\"", std::string("\"\x01") + "0\"")},
      {"a long entry that is not UTF-8", replaced("xxx", "x\xffx")},
      {"a long entry that is a number",
       replaced("\"" + std::string(1100, 'x') + "\"", std::string(1100, '1'))},
      {"cut inside a long text", text.substr(0, text.find("ttt") + 1000)},
      {"cut after an escape", text.substr(0, text.find("\\\\\\\"") + 1)},
  };
  for (const auto& [label, changed] : cases) {
    std::optional<std::string> whole;
    try {
      whole = json::write(StoredLibrary::fromJson(json::parse(changed)).toJson());
    } catch (const std::exception&) {
    }
    for (const std::size_t blockBytes : {std::size_t{3}, std::size_t{1000}, changed.size()}) {
      std::optional<std::string> read;
      try {
        read = json::write(readInBlocks(changed, blockBytes).toJson());
      } catch (const json::DecodingError&) {
      }
      EXPECT_EQ(read, whole) << label << ", blocks of " << blockBytes;
    }
  }
}

}  // namespace
}  // namespace kesta
