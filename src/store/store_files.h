#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/files/outside_file.h"
#include "store/library_file.h"

namespace kesta {

// The file operations the store makes in its folder, and the encoding of the
// library, the one text large enough to run out of memory, behind one seam,
// so that what the system gives only now and then (a file the user may not
// read, a full disk, a read-only folder, memory running out) can be given at
// will. This base does the real work; a subclass may fail any call as the
// system would.
//
// Threads: called from the caller's thread and the writer threads at once.
class StoreFiles {
 public:
  virtual ~StoreFiles() = default;

  // files::readRegularFile.
  virtual files::ReadResult read(const std::filesystem::path& file, std::uint64_t maxBytes) const;
  // files::readRegularFileInBlocks.
  virtual std::optional<files::ReadFailure> readInBlocks(
      const std::filesystem::path& file, std::uint64_t maxBytes,
      const std::function<void(std::string_view)>& consume) const;
  // AtomicFile::write of the pieces one after another; throws std::system_error.
  virtual void write(const std::filesystem::path& target, std::span<const std::string_view> pieces) const;
  // AtomicFile::moveAside.
  virtual std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file,
                                                         std::string_view suffix) const;
  // Removes the file; nothing there is no error. Throws std::system_error.
  virtual void remove(const std::filesystem::path& file) const;
  // LibraryFile::encodeText; throws std::bad_alloc when memory runs out.
  virtual LibraryFile::Text encodeLibrary(const Library& library, const std::string& xmlPath,
                                          const std::optional<Date>& xmlModifiedAt,
                                          std::uint64_t maximumBytes) const;
};

}  // namespace kesta
