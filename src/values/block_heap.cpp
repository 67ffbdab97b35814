// The block heap over malloc/free, with the fatal stop on exhaustion.
#include "values/block_heap.h"

#include <cstdlib>
#include <string>

#include "platform/fatal_stop.h"

namespace quorvel {

void* allocateBlock(std::size_t byteCount) {
  // malloc(0) may answer nullptr, which must not read as exhaustion.
  void* block = std::malloc(byteCount == 0 ? 1 : byteCount);
  if (block == nullptr) {
    stopFatally("Out of memory: a block of " + std::to_string(byteCount) + " bytes could not be allocated.");
  }
  return block;
}

void releaseBlock(void* block) noexcept { std::free(block); }

}  // namespace quorvel
