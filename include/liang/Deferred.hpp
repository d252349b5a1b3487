// liang: a value built on first use, exactly once, shared by every copy.
//
// Deferred<T> holds either a finished T or the recipe for one. The first
// get() runs the recipe and stores the outcome -- the value or the
// exception the recipe threw -- so the recipe is never run again, and a
// failure is permanent. (The values the library derives for itself retry a
// failed build instead, and so do the embedded languages when memory runs
// out; a Deferred's failure is the component's own.) Every
// later get(), from any thread, returns the same value or rethrows the same
// failure. After a build that succeeded, get() is one acquire load and one
// branch: no lock is taken.
#ifndef LIANG_DEFERRED_HPP_
#define LIANG_DEFERRED_HPP_

#include <functional>
#include <new>
#include <utility>

#include "liang/internal/BuildOnce.hpp"

namespace liang {

template <class T>
class Deferred {
 public:
  // An already built value.
  explicit Deferred(T value) : value_(std::in_place, std::move(value)) {}

  // A value that `build` makes on the first get().
  explicit Deferred(std::function<T()> build) : build_(std::move(build)) {}

  // The library's own form, for the embedded languages: like the one above,
  // except that a build that throws std::bad_alloc keeps nothing -- the
  // failure goes to that caller, and the next get() runs `build` again.
  Deferred(internal::RetryOutOfMemory, std::function<T()> build)
      : build_(std::move(build)), retryOutOfMemory_(true) {}

  Deferred(const Deferred&) = delete;
  Deferred& operator=(const Deferred&) = delete;

  // The value, built now if it is not yet; rethrows a failed build's exception.
  const T& get() const {
    return value_.get(
        [this] {
          if (retryOutOfMemory_) {
            // Kept for the next caller if memory runs out, else released.
            try {
              T value = build_();
              build_ = nullptr;
              return value;
            } catch (const std::bad_alloc&) {
              throw;
            } catch (...) {
              build_ = nullptr;
              throw;
            }
          }
          // Whatever the outcome, release what the recipe captured.
          const std::function<T()> build = std::exchange(build_, nullptr);
          return build();
        },
        retryOutOfMemory_);
  }

  // True once the build has run, whatever its outcome (in the library's own
  // form, a build that ran out of memory does not count: it runs again).
  bool built() const noexcept { return value_.settled(); }

 private:
  internal::BuildOnce<T, internal::OnFailure::kKeep> value_;
  mutable std::function<T()> build_;  // read and released by the one build
  bool retryOutOfMemory_ = false;     // the library's own form
};

}  // namespace liang

#endif  // LIANG_DEFERRED_HPP_
