// Text ownership: adopt, release at a chosen point, hand over, and texts made from raw bytes.
#include "values/text_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "values/block_heap.h"

namespace quorvel {
namespace {

TEST(TextValue, MissingAndEmptyAreBothTheEmptyText) {
  TextValue missing;
  EXPECT_TRUE(missing.isMissing());
  EXPECT_EQ(missing.length(), 0u);
  EXPECT_TRUE(TextRef().view().empty());
  EXPECT_EQ(sharedEmptyText.length(), 0u);
  EXPECT_FALSE(sharedEmptyText.isMissing());
}

TEST(TextValue, OrSharedEmptyTextReplacesOnlyAMissingText) {
  EXPECT_EQ(orSharedEmptyText(nullptr).bytes(), sharedEmptyText.bytes());
  const char* present = "a";
  EXPECT_EQ(orSharedEmptyText(present).bytes(), present);
}

TEST(TextValue, ReleaseGivesTheBlockBackAndLeavesItMissing) {
  TextValue text = textFromBytes("abc");
  text.release();
  EXPECT_TRUE(text.isMissing());
  text.release();  // a second release of a missing text does nothing
}

TEST(TextValue, DetachAndMoveHandOverOwnership) {
  TextValue text = textFromBytes("abc");
  const char* bytes = text.bytes();
  TextValue moved = std::move(text);
  EXPECT_TRUE(text.isMissing());
  EXPECT_EQ(moved.bytes(), bytes);
  char* block = moved.detach();
  EXPECT_TRUE(moved.isMissing());
  TextValue adopted = TextValue::adopt(block);
  EXPECT_EQ(adopted.view(), "abc");
  adopted = textFromBytes("de");  // the adopted block is released by the assignment
  EXPECT_EQ(adopted.view(), "de");
}

struct FromBytesCase {
  const char* name;
  std::string bytes;
  const char* text;  // nullptr: the result is missing
};

class TextFromBytes : public ::testing::TestWithParam<FromBytesCase> {};

TEST_P(TextFromBytes, StopsAtTheFirstZeroByte) {
  TextValue text = textFromBytes(GetParam().bytes);
  if (GetParam().text == nullptr) {
    EXPECT_TRUE(text.isMissing());
  } else {
    ASSERT_FALSE(text.isMissing());
    EXPECT_STREQ(text.bytes(), GetParam().text);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextFromBytes,
                         ::testing::Values(FromBytesCase{"Empty", "", nullptr},
                                           FromBytesCase{"ZeroFirst", std::string("\0a", 2), nullptr},
                                           FromBytesCase{"ZeroInside", std::string("ab\0cd", 5), "ab"},
                                           FromBytesCase{"NoZero", "\xBC\xAA" "H", "\xBC\xAA" "H"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel
