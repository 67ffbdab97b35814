// Byte set layout, ownership and the shared empty byte set.
#include "values/byte_set.h"

#include <cstring>
#include <limits>
#include <string>

#include "platform/fatal_stop.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

// The counts are read and written with memcpy: a block carries no alignment promise.
std::int32_t readCount(const void* block, std::size_t offset) {
  std::int32_t count;
  std::memcpy(&count, static_cast<const char*>(block) + offset, sizeof count);
  return count;
}

void writeCount(void* block, std::size_t offset, std::int32_t count) {
  std::memcpy(static_cast<char*>(block) + offset, &count, sizeof count);
}

const std::int32_t emptyByteSetBlock[2] = {1, 0};

}  // namespace

const ByteSetRef sharedEmptyByteSet{emptyByteSetBlock};

std::int32_t ByteSetRef::dimensionCount() const { return block_ == nullptr ? 0 : readCount(block_, 0); }

std::size_t ByteSetRef::byteCount() const {
  if (block_ == nullptr) return 0;
  std::int32_t count = readCount(block_, sizeof(std::int32_t));
  return count < 0 ? 0 : static_cast<std::size_t>(count);
}

std::string_view ByteSetRef::bytes() const {
  if (block_ == nullptr) return {};
  return {static_cast<const char*>(block_) + kByteSetHeaderSize, byteCount()};
}

ByteSet byteSetFromBytes(std::string_view bytes) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    stopFatally("A byte set of " + std::to_string(bytes.size()) + " bytes is larger than a byte set can count.");
  }
  void* block = allocateBlock(kByteSetHeaderSize + bytes.size());
  writeCount(block, 0, 1);
  writeCount(block, sizeof(std::int32_t), static_cast<std::int32_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(static_cast<char*>(block) + kByteSetHeaderSize, bytes.data(), bytes.size());
  return ByteSet::adopt(block);
}

}  // namespace quorvel
