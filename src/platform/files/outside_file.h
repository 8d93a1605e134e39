#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// Reading a whole file that someone else may have put in place: the export the
// DJ picks, a record in the data folder, another program's settings. Opening
// never blocks (a FIFO or a device in the file's place is refused, not waited
// on), the kind and size are checked on the opened file itself, and memory is
// never asked for more than `maxBytes` plus one read buffer. Runs on the
// caller's thread; never throws.
namespace kesta::files {

enum class ReadFailure {
  missing,         // nothing at the path (or a parent is missing)
  notRegularFile,  // a folder, FIFO, socket or device
  tooLarge,        // more than the caller's limit
  unreadable,      // no permission or an input/output error
  noResources,     // the system is short of memory or file handles: the file may be fine
};

// The bytes, or why there are none.
using ReadResult = std::variant<std::string, ReadFailure>;

ReadResult readRegularFile(const std::filesystem::path& file, std::uint64_t maxBytes);

// The same, handing the bytes to `consume` block by block as they are read,
// so that the whole file is never held. Answers why reading stopped, or
// nothing once every byte has been handed over; `tooLarge` may come after
// some blocks when the file grows while it is read. An exception thrown by
// `consume` passes through.
std::optional<ReadFailure> readRegularFileInBlocks(const std::filesystem::path& file, std::uint64_t maxBytes,
                                                   const std::function<void(std::string_view)>& consume);

}  // namespace kesta::files
