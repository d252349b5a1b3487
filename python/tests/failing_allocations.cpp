// A library for LD_PRELOAD that replaces the global operator new and delete
// of the whole process (the extension's C++ and the C++ runtime's) with the
// unit tests' hooks (tests/allocation_hooks.cpp), so that a Python test can
// make one allocation fail: after liang_test_fail_allocation(k), the k-th
// allocation from then on throws std::bad_alloc, once. The interpreter
// itself allocates with malloc and is untouched.
#include <cstdint>
#include <optional>

#include "allocation_hooks.hpp"

namespace {

std::optional<allocation_hooks::FailOneAllocation> chosen;

}  // namespace

extern "C" {
// Makes the k-th allocation from now on fail, once (k = 0: none).
__attribute__((visibility("default"))) void liang_test_fail_allocation(std::uint64_t k) {
  chosen.reset();
  if (k != 0) chosen.emplace(k);
}
// Whether the allocation chosen last has failed.
__attribute__((visibility("default"))) int liang_test_allocation_failed(void) {
  return chosen && chosen->failed() ? 1 : 0;
}
}
