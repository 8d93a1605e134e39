#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "library/library.h"
#include "library/library_import_error.h"
#include "platform/time/date.h"

namespace kesta {

// Imports rekordbox's XML collection export ("File › Export Collection in xml
// format") into a Library. Runs synchronously on the caller's thread; throws
// LibraryImportError and returns nothing partial on failure.
//
// Hostile files are refused with `unreadable` before they can exhaust the
// machine: a file larger than `maximumFileBytes` is not read at all, nor
// anything but a regular file; playlist folders may nest `maximumNodeDepth`
// nodes deep; one attribute that is kept may hold 64 KiB. Running out of
// memory is reported the same way.
namespace RekordboxXMLImporter {

// Room for about a million tracks.
inline constexpr std::uint64_t maximumFileBytes = std::uint64_t{1} << 30;
// Every playlist keeps the names of all its folders, so deep nesting costs
// memory by the square of the depth.
inline constexpr std::size_t maximumNodeDepth = 64;

// Reads the file in blocks as it is parsed, never whole; its last path
// component becomes `sourceFileName`.
Library importLibrary(const std::filesystem::path& file, Date now = Date::now());
// The same on bytes already in memory.
Library importLibrary(std::string_view data, const std::string& fileName, Date now = Date::now());

}  // namespace RekordboxXMLImporter

}  // namespace kesta
