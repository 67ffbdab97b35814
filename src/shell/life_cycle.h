// The program's life cycle: start-up, event dispatch, the message loop, shutdown and the fatal stop.
//
// programMain: startServices → initGlobals → registerExitRoutine(releaseGlobals) →
// loadWindow(QueryWindow) → runMessageLoop. The process entry then runs shutDown: no
// handler runs any more, the exit routine runs once (releasing the holders while the
// object system still stands), and the object system shuts down last. A fatal stop shows
// its message, drops the exit routine, shuts down and ends the process with status -1.
// Everything runs on the window thread.
#pragma once

#include <string_view>

#include "shell/query_window.h"
#include "shell/window_definition.h"

namespace quorvel {

enum class LifeCycleState { starting, loading, running, shuttingDown, fatal };

using ProgramRoutine = void (*)();

int programMain();
void startServices();
void initGlobals();
void releaseGlobals();
void registerExitRoutine(ProgramRoutine routine);
void loadWindow(WindowId id);
void runMessageLoop();
void shutDown();
[[noreturn]] void reportFatalError(std::string_view message);

// Handler of the window's created event; the window needs nothing more at that point.
void onWindowCreated();

// Binds `handler` to an event of a source, replacing an earlier binding.
void bindEventHandler(std::uint32_t sourceId, WindowEvent event, ProgramRoutine handler);
// Delivers an event to its handler, unless the life cycle's state holds it back.
void dispatchWindowEvent(std::uint32_t sourceId, WindowEvent event);
LifeCycleState lifeCycleState();

// How the fatal stop shows its message and waits for the user: a modal error box, unless
// replaced (tests observe the message instead of facing a box).
using FatalMessagePresenter = void (*)(std::string_view message);
void setFatalMessagePresenter(FatalMessagePresenter presenter);
// The presenter for when no window can be shown: the message on standard error.
void showFatalMessageOnStandardError(std::string_view message);

}  // namespace quorvel
