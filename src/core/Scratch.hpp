// Per-call working memory that lives on the stack for ordinary words: the
// one way the library gets room for a word's characters, offsets, breaks
// or scores, so that an ordinary word allocates nothing beyond its result.
#ifndef LIANG_CORE_SCRATCH_HPP_
#define LIANG_CORE_SCRATCH_HPP_

#include <cstddef>
#include <memory>

namespace liang::internal {

// `size` uninitialised elements: inline when they fit in `Inline`, else on
// the heap. Hyphenating a word of ordinary length allocates nothing here.
template <class T, std::size_t Inline>
class ScratchBuffer {
 public:
  explicit ScratchBuffer(std::size_t size) {
    if (size > Inline) {
      heap_.reset(new T[size]);
      data_ = heap_.get();
    }
  }
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;

  T* data() noexcept { return data_; }
  const T* data() const noexcept { return data_; }

 private:
  T inline_[Inline];
  std::unique_ptr<T[]> heap_;
  T* data_ = inline_;
};

}  // namespace liang::internal

#endif  // LIANG_CORE_SCRATCH_HPP_
