// truncateToInteger drops the fraction toward zero under every rounding mode and keeps the mode.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <string>

#include "values/text_operations.h"

namespace quorvel {
namespace {

struct RoundingMode {
  const char* name;
  int mode;
};

class TruncateToInteger : public ::testing::TestWithParam<RoundingMode> {
 protected:
  void SetUp() override { ASSERT_EQ(std::fesetround(GetParam().mode), 0); }
  void TearDown() override { std::fesetround(FE_TONEAREST); }
};

// Computed at run time, under the rounding mode of the test.
double sum(double a, double b) {
  volatile double x = a;
  volatile double y = b;
  return x + y;
}

TEST_P(TruncateToInteger, DropsTheFractionTowardZeroAndKeepsTheMode) {
  struct Case {
    double value;
    std::int64_t expected;
  };
  const Case cases[] = {
      {4.9, 4},        {-1.5, -1},      {-0.5, 0},        {0.5, 0},          {2.5, 2},
      {-2.5, -2},      {3.5, 3},        {0.0, 0},         {-0.0, 0},         {0.9999999, 0},
      {sum(-1.0, 4.0), 3}, {sum(7.0, -1.0), 6}, {sum(-1.0, 3.0), 2}, {sum(326.0, 0.0), 326},
      {2147483647.0, 2147483647}, {-2147483648.0, -2147483648LL}, {9007199254740993.0, 9007199254740992},
  };
  for (const Case& c : cases) {
    volatile double value = c.value;
    EXPECT_EQ(truncateToInteger(value), c.expected) << "value " << c.value;
    EXPECT_EQ(std::fegetround(), GetParam().mode) << "value " << c.value;
  }
}

TEST_P(TruncateToInteger, OutOfRangeValuesSaturateAndNanGivesZero) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(truncateToInteger(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(truncateToInteger(std::numeric_limits<double>::infinity()), kMax);
  EXPECT_EQ(truncateToInteger(-std::numeric_limits<double>::infinity()), kMin);
  EXPECT_EQ(truncateToInteger(1e19), kMax);
  EXPECT_EQ(truncateToInteger(-9223372036854775808.0), kMin);
  EXPECT_EQ(std::fegetround(), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Modes, TruncateToInteger,
                         ::testing::Values(RoundingMode{"ToNearest", FE_TONEAREST},
                                           RoundingMode{"Downward", FE_DOWNWARD},
                                           RoundingMode{"Upward", FE_UPWARD},
                                           RoundingMode{"TowardZero", FE_TOWARDZERO}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel
