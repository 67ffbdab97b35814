// The fatal-stop handler slot and its default handler.
#include "platform/fatal_stop.h"

#include <cstdio>
#include <cstdlib>

namespace quorvel {
namespace {

// The one handler slot of the process; the window layer fills it at start-up.
FatalStopHandler installedHandler = nullptr;

}  // namespace

void setFatalStopHandler(FatalStopHandler handler) { installedHandler = handler; }

void stopFatally(std::string_view message) {
  if (installedHandler != nullptr) installedHandler(message);
  reportOnStandardErrorAndExit(message);
}

void reportOnStandardErrorAndExit(std::string_view message) {
  std::fprintf(stderr, "quorvel: %.*s\n", static_cast<int>(message.size()), message.data());
  std::fflush(stderr);
  // No exit routine and no destructors: the program's state may be what failed.
  std::_Exit(kFatalExitStatus);
}

}  // namespace quorvel
