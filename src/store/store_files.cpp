#include "store/store_files.h"

#include <system_error>

#include "store/atomic_file.h"

namespace kesta {

files::ReadResult StoreFiles::read(const std::filesystem::path& file, std::uint64_t maxBytes) const {
  return files::readRegularFile(file, maxBytes);
}

std::optional<files::ReadFailure> StoreFiles::readInBlocks(
    const std::filesystem::path& file, std::uint64_t maxBytes,
    const std::function<void(std::string_view)>& consume) const {
  return files::readRegularFileInBlocks(file, maxBytes, consume);
}

void StoreFiles::write(const std::filesystem::path& target, std::span<const std::string_view> pieces) const {
  AtomicFile::write(target, pieces);
}

std::optional<std::filesystem::path> StoreFiles::moveAside(const std::filesystem::path& file,
                                                           std::string_view suffix) const {
  return AtomicFile::moveAside(file, suffix);
}

void StoreFiles::remove(const std::filesystem::path& file) const {
  std::error_code error;
  std::filesystem::remove(file, error);
  if (error) throw std::system_error(error, "cannot remove " + file.string());
}

LibraryFile::Text StoreFiles::encodeLibrary(const Library& library, const std::string& xmlPath,
                                            const std::optional<Date>& xmlModifiedAt,
                                            std::uint64_t maximumBytes) const {
  return LibraryFile::encodeText(library, xmlPath, xmlModifiedAt, maximumBytes);
}

}  // namespace kesta
