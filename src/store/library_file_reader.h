#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/stored_library.h"

// Reading "library.json" back, as LibraryFile::encodeText writes it. Its
// tracks are decoded in slices on several threads, and the decoding accepts
// and rejects exactly what StoredLibrary::fromJson does: a text that is not a
// stored library throws, nothing is read in part. Sizes are in bytes.
namespace kesta::LibraryFile {

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
