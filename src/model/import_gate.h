#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace kesta::model {

// Orders the imports of the collection export. Each import that starts takes
// a new generation; only the newest one may install its library or replace
// "library.json", so an import that finishes late never puts an older file
// over the one the user picked since.
//
// Threads: `begin` on the main thread; the rest from any thread.
class ImportGate {
 public:
  // A new import starts; answers its generation.
  std::uint64_t begin() { return newest_.fetch_add(1) + 1; }
  // The generation of the newest import started (0 before the first).
  std::uint64_t newest() const { return newest_.load(); }
  bool isNewest(std::uint64_t generation) const { return newest_.load() == generation; }

  // Runs `write` when `generation` is the newest import, and answers whether
  // it ran. Writes are one at a time, so a newer import that starts during
  // this write makes its own write after it.
  bool writeIfNewest(std::uint64_t generation, const std::function<void()>& write);

 private:
  std::atomic<std::uint64_t> newest_{0};
  std::mutex writing_;
};

}  // namespace kesta::model
