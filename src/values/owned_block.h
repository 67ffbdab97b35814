// OwnedBlock: one block from the block heap with exactly one owner at a time.
//
// The owner gives the block back when it goes out of scope, or earlier at `release()`, so
// that a caller can release a value at the exact point it is done with it. `detach()`
// hands the block on to an owner outside this type. Text values and byte sets are both
// made of it.
#pragma once

#include <utility>

#include "values/block_heap.h"

namespace quorvel {

template <typename Pointer>
class OwnedBlock {
 public:
  OwnedBlock() = default;
  OwnedBlock(const OwnedBlock&) = delete;
  OwnedBlock& operator=(const OwnedBlock&) = delete;
  OwnedBlock(OwnedBlock&& other) noexcept : block_(other.detach()) {}
  OwnedBlock& operator=(OwnedBlock&& other) noexcept {
    if (this != &other) {
      release();
      block_ = other.detach();
    }
    return *this;
  }
  ~OwnedBlock() { release(); }

  bool isMissing() const { return block_ == nullptr; }

  // Gives the block back to the heap now; the value becomes missing.
  void release() noexcept {
    releaseBlock(block_);
    block_ = nullptr;
  }

  // Hands the block to the caller, who becomes its owner; the value becomes missing.
  [[nodiscard]] Pointer detach() noexcept { return std::exchange(block_, nullptr); }

 protected:
  explicit OwnedBlock(Pointer block) noexcept : block_(block) {}
  Pointer block() const { return block_; }

 private:
  Pointer block_ = nullptr;
};

}  // namespace quorvel
