// The global operator new of the binary that links allocation_hooks.cpp,
// counted, and made to fail on demand: for tests of what allocates and of
// what a failed allocation leaves behind. Counts every thread's
// allocations; the tests that read them run on one thread.
#ifndef LIANG_TESTS_ALLOCATION_HOOKS_HPP_
#define LIANG_TESTS_ALLOCATION_HOOKS_HPP_

#include <cstddef>
#include <cstdint>

namespace allocation_hooks {

// Allocations made through operator new since the program started.
std::uint64_t count() noexcept;

// While alive, every allocation of at least `bytes` throws std::bad_alloc.
class FailLargeAllocations {
 public:
  explicit FailLargeAllocations(std::size_t bytes) noexcept;
  ~FailLargeAllocations();
  FailLargeAllocations(const FailLargeAllocations&) = delete;
  FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};

// While alive, the `k`-th allocation counted from its construction (1: the
// next one) throws std::bad_alloc, once; every other allocation succeeds.
class FailOneAllocation {
 public:
  explicit FailOneAllocation(std::uint64_t k) noexcept;
  ~FailOneAllocation();
  FailOneAllocation(const FailOneAllocation&) = delete;
  FailOneAllocation& operator=(const FailOneAllocation&) = delete;

  // Whether that allocation came, and failed.
  bool failed() const noexcept;
};

}  // namespace allocation_hooks

#endif  // LIANG_TESTS_ALLOCATION_HOOKS_HPP_
