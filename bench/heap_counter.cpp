#include "heap_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace kesta::bench::HeapCounter {
namespace {

std::atomic<std::size_t> inUseBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  const std::size_t now =
      inUseBytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
  std::size_t seen = peakBytes.load(std::memory_order_relaxed);
  while (now > seen && !peakBytes.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
  }
  return p;
}

void release(void* p) noexcept {
  if (!p) return;
  inUseBytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
  std::free(p);
}

}  // namespace

std::size_t inUse() { return inUseBytes.load(std::memory_order_relaxed); }
std::size_t peak() { return peakBytes.load(std::memory_order_relaxed); }
void resetPeak() { peakBytes.store(inUse(), std::memory_order_relaxed); }

}  // namespace kesta::bench::HeapCounter

void* operator new(std::size_t size) { return kesta::bench::HeapCounter::allocate(size); }
void* operator new[](std::size_t size) { return kesta::bench::HeapCounter::allocate(size); }
void operator delete(void* p) noexcept { kesta::bench::HeapCounter::release(p); }
void operator delete[](void* p) noexcept { kesta::bench::HeapCounter::release(p); }
void operator delete(void* p, std::size_t) noexcept { kesta::bench::HeapCounter::release(p); }
void operator delete[](void* p, std::size_t) noexcept { kesta::bench::HeapCounter::release(p); }
