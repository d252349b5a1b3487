// Replaces the global operator new and delete (see allocation_hooks.hpp).
// The aligned and nothrow forms of the standard library end in these or in
// malloc, and every form is released with free.
#include "allocation_hooks.hpp"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::uint64_t> allocations{0};
std::atomic<std::size_t> failFrom{std::numeric_limits<std::size_t>::max()};

void* allocate(std::size_t bytes) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (bytes >= failFrom.load(std::memory_order_relaxed)) throw std::bad_alloc();
  if (void* memory = std::malloc(bytes == 0 ? 1 : bytes)) return memory;
  throw std::bad_alloc();
}

}  // namespace

namespace allocation_hooks {

std::uint64_t count() noexcept { return allocations.load(std::memory_order_relaxed); }

FailLargeAllocations::FailLargeAllocations(std::size_t bytes) noexcept { failFrom.store(bytes); }
FailLargeAllocations::~FailLargeAllocations() {
  failFrom.store(std::numeric_limits<std::size_t>::max());
}

}  // namespace allocation_hooks

void* operator new(std::size_t bytes) { return allocate(bytes); }
void* operator new[](std::size_t bytes) { return allocate(bytes); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
