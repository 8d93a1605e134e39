#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Whole-file reads and writes for the data folder. A write never leaves a
// partial file behind: a reader, or the next launch after a crash or power
// loss, finds either the old content or the new one.
namespace kesta::AtomicFile {

// The largest record read. "library.json", which grows with the collection,
// has its own limit: LibraryFile::maximumBytes.
inline constexpr std::uint64_t maximumFileBytes = std::uint64_t{256} << 20;

// The whole file, or absent when it cannot be read for any reason (missing,
// no permission, a folder, FIFO or device in its place, more than
// `maximumFileBytes`). Never blocks on a special file.
std::optional<std::string> read(const std::filesystem::path& file);

// Writes `bytes` to a new file in the target's folder, flushes it to the disk,
// renames it over `target` and flushes the folder. Throws std::system_error
// naming the file; the old target is then unchanged and no temporary file is
// left.
void write(const std::filesystem::path& target, std::string_view bytes);
// The same with the bytes given in pieces, written one after another.
void write(const std::filesystem::path& target, std::span<const std::string_view> pieces);

// Moves `file` to `file` + `suffix`, or, when that name is taken, to the first
// free name with "-2", "-3", ... appended. Never replaces an existing file.
// Answers the new path, or absent when nothing was moved.
std::optional<std::filesystem::path> moveAside(const std::filesystem::path& file, std::string_view suffix);

// Removes the temporary files that writes interrupted by a crash or a kill
// left in `folder` (regular files named like the ones `write` creates). Only
// for a folder no write is going on in. Answers how many were removed.
std::size_t removeLeftovers(const std::filesystem::path& folder);

}  // namespace kesta::AtomicFile
