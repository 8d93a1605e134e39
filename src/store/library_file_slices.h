#pragma once

#include <algorithm>
#include <cstddef>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

// Work on a stored library's tracks split into slices, one thread each, for
// the encoding and the decoding of "library.json" alike. Internal to the store.
namespace kesta::LibraryFile::detail {

// Below this many tracks one thread is quicker than several.
constexpr std::size_t kTracksPerSlice = 2000;
constexpr std::size_t kMaximumSlices = 8;

inline std::size_t sliceCount(std::size_t tracks) {
  const std::size_t threads = std::max<std::size_t>(1, std::thread::hardware_concurrency());
  return std::clamp<std::size_t>(tracks / kTracksPerSlice, 1, std::min(threads, kMaximumSlices));
}

// Runs work(i) for every slice, the first on the calling thread, and answers
// the results in slice order. An exception from any slice is rethrown; a
// thread that cannot be started leaves its slice to the calling thread.
template <class Work>
auto inSlices(std::size_t slices, Work work) {
  using Result = decltype(work(std::size_t{0}));
  std::vector<std::future<Result>> others;
  for (std::size_t i = 1; i < slices; ++i) {
    try {
      others.push_back(std::async(std::launch::async, work, i));
    } catch (const std::system_error&) {
      others.push_back(std::async(std::launch::deferred, work, i));
    }
  }
  std::vector<Result> results;
  results.push_back(work(0));
  for (auto& other : others) results.push_back(other.get());
  return results;
}

}  // namespace kesta::LibraryFile::detail
