// liang: a value built on first use, exactly once, shared by every copy.
//
// Deferred<T> holds either a finished T or the recipe for one. The first
// get() runs the recipe under std::call_once; the once-block itself stores
// the outcome -- the value or the exception the recipe threw -- so it never
// throws out of call_once and is never run again. (std::call_once retries
// when its callable throws, which would rebuild a failed component; keeping
// the failure inside the block is what makes a failure permanent.) Every
// later get(), from any thread, returns the same value or rethrows the same
// failure. After a build that succeeded, get() is one acquire load and one
// branch: no lock is taken.
#ifndef LIANG_DEFERRED_HPP_
#define LIANG_DEFERRED_HPP_

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

namespace liang {

template <class T>
class Deferred {
 public:
  // An already built value.
  explicit Deferred(T value) : value_(std::move(value)) {
    built_.store(true);
    ready_.store(&*value_);
  }

  // A value that `build` makes on the first get().
  explicit Deferred(std::function<T()> build) : build_(std::move(build)) {}

  Deferred(const Deferred&) = delete;
  Deferred& operator=(const Deferred&) = delete;

  // The value, built now if it is not yet; rethrows a failed build's exception.
  const T& get() const {
    // Once built, one load and one branch: ready_ is set only by a build that succeeded.
    if (const T* ready = ready_.load(std::memory_order_acquire)) return *ready;
    if (!built_.load(std::memory_order_acquire)) build();
    if (failure_) std::rethrow_exception(failure_);
    return *value_;
  }

  // True once the build has run, whatever its outcome.
  bool built() const noexcept { return built_.load(std::memory_order_acquire); }

 private:
  void build() const {
    std::call_once(once_, [this]() noexcept {
      try {
        value_.emplace(build_());
      } catch (...) {
        failure_ = std::current_exception();
      }
      build_ = nullptr;  // release whatever the recipe captured
      if (!failure_) ready_.store(&*value_, std::memory_order_release);
      built_.store(true, std::memory_order_release);
    });
  }

  mutable std::once_flag once_;
  mutable std::atomic<bool> built_{false};
  mutable std::atomic<const T*> ready_{nullptr};  // the value, once built without failure
  mutable std::optional<T> value_;
  mutable std::exception_ptr failure_;
  mutable std::function<T()> build_;
};

}  // namespace liang

#endif  // LIANG_DEFERRED_HPP_
