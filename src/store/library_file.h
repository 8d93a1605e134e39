#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/stored_library.h"

// The text of "library.json". A collection of tens of thousands of tracks is
// encoded and decoded in slices on several threads; the text is byte for byte
// what the one-piece encoding of StoredLibrary::toJson writes, and decoding
// accepts and rejects exactly what StoredLibrary::fromJson does.
namespace kesta::LibraryFile {

// Throws json::EncodingError for a number that is not finite.
std::string encode(const StoredLibrary& stored);
// The same for a library held elsewhere, without copying it into a StoredLibrary.
std::string encode(const Library& library, const std::string& xmlPath,
                   const std::optional<Date>& xmlModifiedAt);
// Throws json::DecodingError (or the library's own error) for a text that is
// not a stored library.
StoredLibrary decode(std::string_view text);

}  // namespace kesta::LibraryFile
