#pragma once

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
namespace RekordboxXMLImporter {

// Reads the whole file; its last path component becomes `sourceFileName`.
Library importLibrary(const std::filesystem::path& file, Date now = Date::now());
// The same on bytes already in memory.
Library importLibrary(std::string_view data, const std::string& fileName, Date now = Date::now());

}  // namespace RekordboxXMLImporter

}  // namespace kesta
