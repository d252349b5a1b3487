// A value built at most once, on first need, by whichever thread needs it
// first; every other thread then reads it with one acquire load and one
// branch, taking no lock.
//
// What a failed build leaves behind is the owner's choice, and there are two:
//  - OnFailure::kKeep: the exception is kept for good and every later read
//    rethrows it. For the components a caller hands over as Deferred values,
//    whose failure is part of what they are (see liang/Deferred.hpp).
//  - OnFailure::kRetry: the exception goes to the caller whose build failed,
//    nothing is kept, and the next caller builds again. For everything the
//    library derives for itself (a trie's flattened copy, its full index, a
//    hyphenator's break plan): such a value can only fail for want of memory
//    at that moment, which says nothing of the next attempt.
// Under kKeep, get() may be told to keep every failure but std::bad_alloc,
// which then goes as under kRetry: for the library's own recipes (the
// embedded languages), whose other failures are part of what they are.
//
// This header is installed with the public ones, because Deferred.hpp is
// built on it; it is not part of the interface.
#ifndef LIANG_INTERNAL_BUILDONCE_HPP_
#define LIANG_INTERNAL_BUILDONCE_HPP_

#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <utility>

namespace liang::internal {

// The tag of Deferred's constructor for the library's own recipes.
struct RetryOutOfMemory {
  explicit RetryOutOfMemory() = default;
};

enum class OnFailure {
  kKeep,   // the first failure is final: every later read rethrows it
  kRetry,  // a failure is the failing caller's alone: the next read builds again
};

template <class T, OnFailure Policy>
class BuildOnce {
 public:
  // Not built yet.
  BuildOnce() = default;

  // Built already, from `args`.
  template <class... Args>
  explicit BuildOnce(std::in_place_t, Args&&... args) : value_(std::forward<Args>(args)...) {
    state_.store(kBuilt, std::memory_order_relaxed);
  }

  BuildOnce(const BuildOnce&) = delete;
  BuildOnce& operator=(const BuildOnce&) = delete;

  // The value once built, else null: one acquire load. The value is held in
  // place, so its address does not wait on the load.
  const T* ready() const noexcept {
    return state_.load(std::memory_order_acquire) == kBuilt ? &*value_ : nullptr;
  }

  // The value, made now by `build` (a callable returning a T) unless it is
  // made already. Throws what `build` throws, and under kKeep rethrows a
  // failure kept from before -- but not a std::bad_alloc when
  // `retryOutOfMemory` is set: that goes to this caller alone.
  template <class Build>
  const T& get(Build&& build, bool retryOutOfMemory = false) const {
    if (const T* value = ready()) return *value;
    return buildOrRethrow(build, retryOutOfMemory);
  }

  // kKeep: whether a build has run, whatever its outcome.
  bool settled() const noexcept { return state_.load(std::memory_order_acquire) != kEmpty; }

 private:
  enum State : std::uint8_t { kEmpty, kBuilt, kFailed };

  // Off the reader's path. A mutex rather than std::call_once: kRetry hands
  // a failure back by letting the build's exception out, and a call_once
  // whose callable throws has hung in some C++ library versions.
  template <class Build>
  const T& buildOrRethrow(Build& build, bool retryOutOfMemory) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    switch (state_.load(std::memory_order_relaxed)) {
      case kBuilt:
        return *value_;
      case kFailed:
        std::rethrow_exception(failure_);
      case kEmpty:
        break;
    }
    if constexpr (Policy == OnFailure::kKeep) {
      try {
        value_.emplace(build());
      } catch (const std::bad_alloc&) {
        if (!retryOutOfMemory) keep(std::current_exception());
        throw;
      } catch (...) {
        keep(std::current_exception());
        throw;
      }
    } else {
      value_.emplace(build());  // a throw leaves the state empty
    }
    state_.store(kBuilt, std::memory_order_release);
    return *value_;
  }

  // kKeep: makes `failure` the outcome for good. Under mutex_.
  void keep(std::exception_ptr failure) const noexcept {
    failure_ = std::move(failure);
    state_.store(kFailed, std::memory_order_release);
  }

  mutable std::atomic<State> state_{kEmpty};
  mutable std::optional<T> value_;      // written under mutex_, before state_ says kBuilt
  mutable std::exception_ptr failure_;  // kKeep, written before state_ says kFailed
  mutable std::mutex mutex_;
};

}  // namespace liang::internal

#endif  // LIANG_INTERNAL_BUILDONCE_HPP_
