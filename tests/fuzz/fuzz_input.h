#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Small helpers shared by the fuzz targets: the raw bytes as text, a leading
// byte that picks one of several decoders, lines, and a loud stop when an
// invariant fails (libFuzzer reports the abort with the input that caused it).
namespace kesta::fuzz {

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The first byte picks one of `count` cases; the rest is the case's input.
struct Selected {
  std::size_t which = 0;
  std::string_view rest;
};

inline Selected select(std::string_view input, std::size_t count) {
  if (input.empty()) return {0, {}};
  return {static_cast<unsigned char>(input.front()) % count, input.substr(1)};
}

// The text split at '\n'; a trailing newline gives no extra empty line.
inline std::vector<std::string> lines(std::string_view input) {
  std::vector<std::string> result;
  while (!input.empty()) {
    const auto end = input.find('\n');
    result.emplace_back(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  return result;
}

[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

inline void check(bool holds, const char* what) {
  if (!holds) fail(what);
}

}  // namespace kesta::fuzz
