// A library for LD_PRELOAD that replaces the global operator new and delete
// of the whole process (the extension's C++ and the C++ runtime's), so that
// a Python test can make one allocation fail: after
// liang_test_fail_allocation(k), the k-th allocation from then on throws
// std::bad_alloc, once. The interpreter itself allocates with malloc and is
// untouched. Every form of new ends in the replaced ones or in malloc, and
// every form of delete in free.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
std::atomic<std::uint64_t> allocations{0};
std::atomic<std::uint64_t> failAt{kNever};
std::atomic<bool> failed{false};

void* allocate(std::size_t bytes) {
  std::uint64_t chosen = allocations.fetch_add(1, std::memory_order_relaxed) + 1;
  if (failAt.compare_exchange_strong(chosen, kNever, std::memory_order_relaxed)) {
    failed.store(true, std::memory_order_relaxed);
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(bytes == 0 ? 1 : bytes)) return memory;
  throw std::bad_alloc();
}

}  // namespace

extern "C" {
// Makes the k-th allocation from now on fail, once (k = 0: none).
__attribute__((visibility("default"))) void liang_test_fail_allocation(std::uint64_t k) {
  failed.store(false);
  failAt.store(k == 0 ? kNever : allocations.load() + k);
}
// Whether the allocation chosen last has failed.
__attribute__((visibility("default"))) int liang_test_allocation_failed(void) {
  return failed.load() ? 1 : 0;
}
}

void* operator new(std::size_t bytes) { return allocate(bytes); }
void* operator new[](std::size_t bytes) { return allocate(bytes); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
