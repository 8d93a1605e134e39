#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/stored_library.h"

// The text of "library.json" as written. A collection of tens of thousands of
// tracks is encoded in slices on several threads; the text is byte for byte
// what the one-piece encoding of StoredLibrary::toJson writes. Reading it back
// is library_file_reader.h's. Sizes are in bytes.
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

}  // namespace kesta::LibraryFile
