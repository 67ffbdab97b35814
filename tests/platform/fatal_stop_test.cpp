// The fatal stop ends the process with status -1, through the installed handler or the default.
#include "platform/fatal_stop.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace quorvel {
namespace {

TEST(FatalStopDeathTest, DefaultHandlerWritesTheMessageAndExitsWithMinusOne) {
  EXPECT_EXIT(stopFatally("the disk caught fire"), ::testing::ExitedWithCode(255), "quorvel: the disk caught fire");
}

void handlerThatExitsWithSeven(std::string_view message) {
  std::fprintf(stderr, "custom handler saw: %.*s\n", static_cast<int>(message.size()), message.data());
  std::_Exit(7);
}

TEST(FatalStopDeathTest, InstalledHandlerReceivesTheMessage) {
  EXPECT_EXIT(
      {
        setFatalStopHandler(handlerThatExitsWithSeven);
        stopFatally("no window");
      },
      ::testing::ExitedWithCode(7), "custom handler saw: no window");
}

void handlerThatReturns(std::string_view) { std::fprintf(stderr, "returning handler ran\n"); }

TEST(FatalStopDeathTest, HandlerThatReturnsStillEndsTheProcess) {
  EXPECT_EXIT(
      {
        setFatalStopHandler(handlerThatReturns);
        stopFatally("still fatal");
      },
      ::testing::ExitedWithCode(255), "returning handler ran\n.*quorvel: still fatal");
}

}  // namespace
}  // namespace quorvel
