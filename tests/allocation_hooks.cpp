// Replaces the global operator new and delete (see allocation_hooks.hpp).
// The aligned forms of the standard library end in these or in malloc, and
// every form is released with free. The nothrow forms are replaced too:
// AddressSanitizer's own would otherwise take them, and their memory would
// reach our delete.
#include "allocation_hooks.hpp"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::uint64_t> allocations{0};
std::atomic<std::size_t> failFrom{std::numeric_limits<std::size_t>::max()};
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
std::atomic<std::uint64_t> failAt{kNever};  // the count of the one allocation to fail
std::atomic<bool> failedOne{false};

void* allocate(std::size_t bytes) {
  const std::uint64_t number = allocations.fetch_add(1, std::memory_order_relaxed) + 1;
  if (bytes >= failFrom.load(std::memory_order_relaxed)) throw std::bad_alloc();
  std::uint64_t chosen = number;
  if (failAt.compare_exchange_strong(chosen, kNever, std::memory_order_relaxed)) {
    failedOne.store(true, std::memory_order_relaxed);
    throw std::bad_alloc();
  }
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

FailOneAllocation::FailOneAllocation(std::uint64_t k) noexcept {
  failedOne.store(false);
  failAt.store(allocations.load() + k);
}
FailOneAllocation::~FailOneAllocation() { failAt.store(kNever); }
bool FailOneAllocation::failed() const noexcept { return failedOne.load(); }

}  // namespace allocation_hooks

void* operator new(std::size_t bytes) { return allocate(bytes); }
void* operator new[](std::size_t bytes) { return allocate(bytes); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return allocate(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return allocate(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
