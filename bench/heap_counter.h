#pragma once

#include <cstddef>

// Bytes the process holds through operator new, counted by the allocator's
// usable chunk sizes, with a resettable high-water mark. Linking heap_counter.cpp
// replaces the global operator new and delete; any thread may allocate.
namespace kesta::bench::HeapCounter {

std::size_t inUse();
std::size_t peak();
// Starts a new high-water mark at the bytes in use now.
void resetPeak();

}  // namespace kesta::bench::HeapCounter
