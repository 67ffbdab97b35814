// Blocks come from the heap; running out of memory ends the program naming the byte count.
#include "values/block_heap.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>

namespace quorvel {
namespace {

TEST(BlockHeap, ZeroBytesStillGivesABlock) {
  void* block = allocateBlock(0);
  EXPECT_NE(block, nullptr);
  releaseBlock(block);
}

TEST(BlockHeap, ReleasingAMissingBlockDoesNothing) { releaseBlock(nullptr); }

// More than any heap can give; not a constant, so the compiler does not warn about it.
std::size_t impossibleByteCount() {
  volatile std::size_t count = std::numeric_limits<std::size_t>::max() - 64;
  return count;
}

TEST(BlockHeapDeathTest, ExhaustionIsFatalAndNamesTheByteCount) {
  const std::size_t count = impossibleByteCount();
  EXPECT_EXIT(allocateBlock(count), ::testing::ExitedWithCode(255),
              "Out of memory: a block of " + std::to_string(count) + " bytes could not be allocated");
}

}  // namespace
}  // namespace quorvel
