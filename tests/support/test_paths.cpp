#include "support/test_paths.h"

#include <cstdlib>

namespace kesta::test {

std::filesystem::path sourceDir() {
  if (const char* dir = std::getenv("KESTA_SOURCE_DIR")) return dir;
  return KESTA_DEFAULT_SOURCE_DIR;
}

std::optional<std::filesystem::path> rekordboxXmlDir() {
  auto dir = sourceDir() / ".." / "shared" / "testdata" / "rekordbox-xml";
  if (std::filesystem::is_directory(dir)) return std::filesystem::canonical(dir);
  return std::nullopt;
}

}  // namespace kesta::test
