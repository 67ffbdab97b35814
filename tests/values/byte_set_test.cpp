// Byte set layout and the shared empty byte set.
#include "values/byte_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "values/block_heap.h"

namespace quorvel {
namespace {

TEST(ByteSet, SharedEmptyByteSetHasOneDimensionAndNoBytes) {
  EXPECT_EQ(sharedEmptyByteSet.dimensionCount(), 1);
  EXPECT_EQ(sharedEmptyByteSet.byteCount(), 0u);
  EXPECT_TRUE(sharedEmptyByteSet.bytes().empty());
}

TEST(ByteSet, IsLaidOutAsTwoCountsThenTheBytes) {
  const std::string bytes("a\0\xFF", 3);
  ByteSet set = byteSetFromBytes(bytes);
  std::int32_t counts[2];
  std::memcpy(counts, set.block(), sizeof counts);
  EXPECT_EQ(counts[0], 1);
  EXPECT_EQ(counts[1], 3);
  EXPECT_EQ(std::memcmp(static_cast<const char*>(set.block()) + 8, bytes.data(), 3), 0);
  EXPECT_EQ(set.bytes(), bytes);
}

TEST(ByteSet, MissingAndNegativeCountsReadAsEmpty) {
  EXPECT_TRUE(ByteSetRef().bytes().empty());
  const std::int32_t negative[2] = {1, -5};
  EXPECT_EQ(ByteSetRef(negative).byteCount(), 0u);
}

TEST(ByteSet, ReleaseAndDetachHandOverTheBlock) {
  ByteSet set = byteSetFromBytes("xy");
  void* block = set.detach();
  EXPECT_TRUE(set.isMissing());
  ByteSet adopted = ByteSet::adopt(block);
  EXPECT_EQ(adopted.bytes(), "xy");
  adopted.release();
  EXPECT_TRUE(adopted.isMissing());
}

}  // namespace
}  // namespace quorvel
