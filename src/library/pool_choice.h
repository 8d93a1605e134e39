#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace kesta {

// One entry of the pool menu: a pool id ("all", "playlist:<id>", ...), its
// label and the number of suggestible tracks in it. Not stored.
struct PoolChoice {
  std::string id;
  std::string name;
  int count = 0;

  friend bool operator==(const PoolChoice&, const PoolChoice&) = default;
};

}  // namespace kesta

template <>
struct std::hash<kesta::PoolChoice> {
  std::size_t operator()(const kesta::PoolChoice& choice) const noexcept {
    const std::size_t h = std::hash<std::string>{}(choice.id) * 31 + std::hash<std::string>{}(choice.name);
    return h * 31 + std::hash<int>{}(choice.count);
  }
};
