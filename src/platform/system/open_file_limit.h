#pragma once

#include <cstdint>

// How many files this process may hold open at once (RLIMIT_NOFILE). Kesta
// keeps about twenty open (X connections, the data folder, text
// recognition's data, every thread's wake-up), and Qt and GLib end the
// program wherever they meet a full table, so it takes what it may at start.
namespace kesta::OpenFileLimit {

// Raises the soft limit to `wanted` when it is lower, as far as the hard
// limit allows; answers the soft limit in force afterwards (0 when it cannot
// be read).
std::uint64_t raiseTo(std::uint64_t wanted);

}  // namespace kesta::OpenFileLimit
