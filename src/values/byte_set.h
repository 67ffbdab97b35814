// ByteSet and ByteSetRef: a counted run of bytes, the form in which a reply body reaches the texts.
//
// Contract:
// - A byte set is one block from the block heap: a 32-bit signed dimension count (always 1),
//   a 32-bit signed byte count n, then the n bytes, any values, zero included.
// - A missing byte set (nullptr) counts as empty; the shared empty byte set (count 0) stands
//   in for it where a present one is needed, and is never released.
// - `ByteSet` owns its block (see OwnedBlock); `ByteSetRef` only borrows one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "values/owned_block.h"

namespace quorvel {

class ByteSet;

// Size of the two counts in front of a byte set's bytes.
inline constexpr std::size_t kByteSetHeaderSize = 2 * sizeof(std::int32_t);

// A borrowed byte set, or nullptr for a missing one.
class ByteSetRef {
 public:
  constexpr ByteSetRef() = default;
  constexpr ByteSetRef(std::nullptr_t) {}
  constexpr explicit ByteSetRef(const void* block) : block_(block) {}
  ByteSetRef(const ByteSet& set);
  ByteSetRef(ByteSet&&) = delete;

  const void* block() const { return block_; }
  bool isMissing() const { return block_ == nullptr; }
  std::int32_t dimensionCount() const;
  // The byte count as stored; 0 for a missing set, and for a negative count.
  std::size_t byteCount() const;
  std::string_view bytes() const;

 private:
  const void* block_ = nullptr;
};

// The one shared constant empty byte set: dimension count 1, byte count 0.
extern const ByteSetRef sharedEmptyByteSet;

// An owned byte set: one block from the block heap, or nothing.
class ByteSet : public OwnedBlock<void*> {
 public:
  ByteSet() = default;

  // Takes ownership of a block from `allocateBlock` laid out as a byte set.
  static ByteSet adopt(void* block) noexcept { return ByteSet(block); }

  const void* block() const { return OwnedBlock::block(); }
  std::string_view bytes() const { return ByteSetRef(*this).bytes(); }

 private:
  explicit ByteSet(void* block) noexcept : OwnedBlock(block) {}
};

inline ByteSetRef::ByteSetRef(const ByteSet& set) : block_(set.block()) {}

// A new byte set holding `bytes`, allocated once at its exact size.
ByteSet byteSetFromBytes(std::string_view bytes);

}  // namespace quorvel
