#pragma once

#include <filesystem>
#include <optional>

namespace kesta::test {

// The project's source folder, as CTest passes it.
std::filesystem::path sourceDir();

// The shared real rekordbox exports beside the project, when present.
std::optional<std::filesystem::path> rekordboxXmlDir();

}  // namespace kesta::test
