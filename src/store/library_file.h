#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/stored_library.h"

// The text of "library.json". A collection of tens of thousands of tracks is
// encoded and decoded in slices on several threads; the text is byte for byte
// what the one-piece encoding of StoredLibrary::toJson writes, and decoding
// accepts and rejects exactly what StoredLibrary::fromJson does.
namespace kesta::LibraryFile {

// The largest "library.json" that is read, and so the largest written: as
// large as the largest export the importer takes, which stores in about a
// third of its size (336 MB for a 915 MB export of a million tracks).
inline constexpr std::uint64_t maximumBytes = std::uint64_t{1} << 30;

// An encoded library in the pieces it was made in, so that it is written
// without ever being joined into one copy. A long playlist entry is a piece
// of its own, held once however often the playlists list it, so the pieces
// take about the memory of the library, not of the file. A text too large to
// keep is not written at all: it has no pieces, only the size it would have.
struct Text {
  std::vector<std::shared_ptr<const std::string>> pieces;  // in file order
  std::uint64_t unwrittenBytes = 0;

  std::uint64_t size() const;
  std::vector<std::string_view> views() const;
  std::string joined() const;
};

// Throws json::EncodingError for a number that is not finite. A text that
// would be larger than `maximumBytes` is measured, not written (see Text).
Text encodeText(const Library& library, const std::string& xmlPath, const std::optional<Date>& xmlModifiedAt,
                std::uint64_t maximumBytes = UINT64_MAX);
// The same joined.
std::string encode(const StoredLibrary& stored);
// The same for a library held elsewhere, without copying it into a StoredLibrary.
std::string encode(const Library& library, const std::string& xmlPath,
                   const std::optional<Date>& xmlModifiedAt);

// "library.json" taken block by block as it is read. Every text in it at
// least `longTextBytes` long is held once however often it occurs, so that
// a file whose playlists list a long id thousands of times takes about the
// memory of its export, not of its size. Blocks may split anything anywhere.
// Used on one thread.
class Reader {
 public:
  static constexpr std::size_t longTextBytes = 1024;

  // Throws std::bad_alloc when memory runs out.
  void add(std::string_view block);
  // The bytes the blocks added so far take here.
  std::size_t heldBytes() const;
  // The stored library of every block added; throws what `decode` throws
  // (json::DecodingError for a text that is not JSON).
  StoredLibrary decode() &&;

 private:
  void append(std::string_view piece);
  // Reads on in a text begun in an earlier block; answers where it ended.
  std::size_t continueText(std::string_view block, std::size_t at);
  void endText();

  std::vector<std::string> chunks_;  // the file, each long text in it replaced by its number
  std::string text_;                 // the text being read, quotes included
  bool inText_ = false;
  bool escaped_ = false;
  bool controlByte_ = false;  // one that stands for a long text; no stored library holds it
  std::deque<std::string> longTexts_;
  std::unordered_map<std::string_view, std::size_t> numbers_;
};

// The text read by a Reader in one block. Throws json::DecodingError (or the
// library's own error) for a text that is not a stored library. Each playlist
// is read entry by entry, and every entry of one text shares it.
StoredLibrary decode(std::string_view text);

}  // namespace kesta::LibraryFile
