#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "support/test_paths.h"

namespace kesta::test {

// A stored JSON text kept beside the tests, without its final line break.
inline std::string readGolden(const std::string& name) {
  std::ifstream in(sourceDir() / "tests" / "library" / "golden" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string out = text.str();
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace kesta::test
