#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "store/store_files.h"

namespace kesta::test {

// The data folder's disk failing as asked: reads of the named files as when
// the user may not read them, or the system is short of memory (until the
// file is moved or replaced), moves as
// in a folder that forbids them, and every write and removal with
// `writeError` while it is not 0 (ENOSPC for a full disk, EROFS for a
// read-only folder), and the library's encoding as when memory runs out.
// Works the same as root, who may read any file.
class FakeStoreFiles : public StoreFiles {
 public:
  std::atomic<bool> refuseMoves = false;
  std::atomic<int> writeError = 0;
  std::atomic<bool> encodingRunsOutOfMemory = false;

  void makeUnreadable(const std::string& name, files::ReadFailure failure = files::ReadFailure::unreadable) {
    const std::lock_guard lock(mutex_);
    unreadable_[name] = failure;
  }

  files::ReadResult read(const std::filesystem::path& file, std::uint64_t maxBytes) const override {
    if (const auto failure = readFailure(file)) return *failure;
    return StoreFiles::read(file, maxBytes);
  }
  std::optional<files::ReadFailure> readInBlocks(
      const std::filesystem::path& file, std::uint64_t maxBytes,
      const std::function<void(std::string_view)>& consume) const override {
    if (const auto failure = readFailure(file)) return failure;
    return StoreFiles::readInBlocks(file, maxBytes, consume);
  }
  void write(const std::filesystem::path& target, std::span<const std::string_view> pieces) const override {
    failIfAsked(target);
    StoreFiles::write(target, pieces);
    forget(target);
  }
  std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file,
                                                 std::string_view suffix) const override {
    if (refuseMoves) return std::nullopt;
    auto moved = StoreFiles::moveAside(file, suffix);
    if (moved) forget(file);
    return moved;
  }
  void remove(const std::filesystem::path& file) const override {
    failIfAsked(file);
    StoreFiles::remove(file);
  }
  LibraryFile::Text encodeLibrary(const Library& library, const std::string& xmlPath,
                                  const std::optional<Date>& xmlModifiedAt,
                                  std::uint64_t maximumBytes) const override {
    if (encodingRunsOutOfMemory) throw std::bad_alloc();
    return StoreFiles::encodeLibrary(library, xmlPath, xmlModifiedAt, maximumBytes);
  }

 private:
  std::optional<files::ReadFailure> readFailure(const std::filesystem::path& file) const {
    const std::lock_guard lock(mutex_);
    const auto found = unreadable_.find(file.filename().string());
    if (found == unreadable_.end()) return std::nullopt;
    return found->second;
  }
  void forget(const std::filesystem::path& file) const {
    const std::lock_guard lock(mutex_);
    unreadable_.erase(file.filename().string());
  }
  void failIfAsked(const std::filesystem::path& file) const {
    if (const int error = writeError) throw std::system_error(error, std::generic_category(), file.string());
  }

  mutable std::mutex mutex_;
  mutable std::map<std::string, files::ReadFailure> unreadable_;
};

}  // namespace kesta::test
