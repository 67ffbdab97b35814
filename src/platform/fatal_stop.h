// The fatal stop: the one way the program ends on a failure it cannot carry on from.
//
// Memory running out, or the window failing to come up, ends the program through here. The
// window layer installs a handler that shows the message in a modal box and shuts down;
// until then (and in programs without a window, such as tests) the default handler writes
// the message to standard error. Either way the process ends with exit status -1.
#pragma once

#include <string_view>

namespace quorvel {

// Reports the message to the user and ends the process; must not return.
using FatalStopHandler = void (*)(std::string_view message);

// Installs the handler that `stopFatally` runs; nullptr restores the default one.
void setFatalStopHandler(FatalStopHandler handler);

// Runs the installed handler. Should that handler return, the default one ends the process.
[[noreturn]] void stopFatally(std::string_view message);

// The default handler: the message on standard error, then exit status -1.
[[noreturn]] void reportOnStandardErrorAndExit(std::string_view message);

// Exit status of a fatal stop: -1, which a shell reports as 255.
inline constexpr int kFatalExitStatus = -1;

}  // namespace quorvel
