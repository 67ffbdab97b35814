// The life cycle's routines and the little state the program's life defines.
#include "shell/life_cycle.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/fatal_stop.h"
#include "platform/object_system.h"
#include "query/program_holders.h"
#include "query/query_action.h"
#include "shell/gbk_text.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

struct EventBinding {
  std::uint32_t source;
  WindowEvent event;
  ProgramRoutine handler;
};

// The state the program's life defines: where it is, its exit routine, its event bindings.
LifeCycleState state = LifeCycleState::starting;
ProgramRoutine exitRoutine = nullptr;
std::vector<EventBinding> eventBindings;
bool objectSystemStartedHere = false;
bool messageLoopEntered = false;

void showErrorBox(std::string_view message) {
  const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    QMessageBox::critical(nullptr, QStringLiteral("Quorvel"), text);
  } else {
    showFatalMessageOnStandardError(message);
  }
}

FatalMessagePresenter fatalMessagePresenter = showErrorBox;

// The message loop ends when the last window of the program is gone.
void postQuitOnceNoWindowRemains() {
  if (messageLoopEntered && !QueryWindow::anyOpen()) QCoreApplication::quit();
}

}  // namespace

int programMain() {
  startServices();
  initGlobals();
  registerExitRoutine(releaseGlobals);
  loadWindow(ids::QueryWindow);
  runMessageLoop();
  return 0;
}

void startServices() {
  // Blocks come from the process heap (see block_heap); running out of them ends here.
  setFatalStopHandler([](std::string_view message) { reportFatalError(message); });
  if (!objectSystemIsRunning()) {
    if (!startObjectSystem()) reportFatalError("The object system could not be started.");
    objectSystemStartedHere = true;
  }
  if (findWindowDefinition(ids::QueryWindow) == nullptr) reportFatalError("The window definitions could not be read.");
  bindEventHandler(ids::QueryWindow, WindowEvent::created, onWindowCreated);
  bindEventHandler(ids::按钮1, WindowEvent::clicked, onQueryClicked);
  if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    application->setQuitOnLastWindowClosed(false);  // the loop ends by our own rule, below
  }
}

void initGlobals() {
  RequestObject = static_cast<ComObject*>(allocateBlock(sizeof(ComObject)));
  std::memset(RequestObject, 0, sizeof(ComObject));
  ResponseVariant = static_cast<Variant*>(allocateBlock(sizeof(Variant)));
  std::memset(ResponseVariant, 0, sizeof(Variant));
  ResponseVariant->tag = kTagInteger;
}

void releaseGlobals() {
  clearObject(RequestObject);
  releaseBlock(RequestObject);
  RequestObject = nullptr;
  clearVariant(ResponseVariant);
  releaseBlock(ResponseVariant);
  ResponseVariant = nullptr;
}

void registerExitRoutine(ProgramRoutine routine) { exitRoutine = routine; }

void onWindowCreated() {}

void loadWindow(WindowId id) {
  const WindowDefinition* definition = findWindowDefinition(id);
  if (definition == nullptr) reportFatalError("There is no window with id " + std::to_string(id) + ".");
  state = LifeCycleState::loading;
  auto* window = new QueryWindow(*definition, dispatchWindowEvent);
  QObject::connect(window, &QObject::destroyed, [] { postQuitOnceNoWindowRemains(); });
  dispatchWindowEvent(id, WindowEvent::created);
  window->showAndActivate();
  state = LifeCycleState::running;
}

void runMessageLoop() {
  messageLoopEntered = true;
  if (!QueryWindow::anyOpen()) return;
  QApplication::exec();
}

void shutDown() {
  if (state != LifeCycleState::fatal) state = LifeCycleState::shuttingDown;
  eventBindings.clear();
  if (ProgramRoutine routine = exitRoutine) {
    exitRoutine = nullptr;
    routine();
  }
  if (objectSystemStartedHere) {
    stopObjectSystem();
    objectSystemStartedHere = false;
  }
  setFatalStopHandler(nullptr);
}

void reportFatalError(std::string_view message) {
  if (state == LifeCycleState::fatal) std::_Exit(kFatalExitStatus);  // a failure while reporting one
  state = LifeCycleState::fatal;
  fatalMessagePresenter(message);
  exitRoutine = nullptr;
  shutDown();
  std::_Exit(kFatalExitStatus);
}

void bindEventHandler(std::uint32_t sourceId, WindowEvent event, ProgramRoutine handler) {
  for (EventBinding& binding : eventBindings) {
    if (binding.source == sourceId && binding.event == event) {
      binding.handler = handler;
      return;
    }
  }
  eventBindings.push_back({sourceId, event, handler});
}

void dispatchWindowEvent(std::uint32_t sourceId, WindowEvent event) {
  if (state == LifeCycleState::shuttingDown || state == LifeCycleState::fatal) return;
  if (state == LifeCycleState::loading && event != WindowEvent::created) return;
  for (const EventBinding& binding : eventBindings) {
    if (binding.source == sourceId && binding.event == event) {
      binding.handler();
      return;
    }
  }
}

LifeCycleState lifeCycleState() { return state; }

void showFatalMessageOnStandardError(std::string_view message) {
  std::fprintf(stderr, "quorvel: %.*s\n", static_cast<int>(message.size()), message.data());
  std::fflush(stderr);
}

void setFatalMessagePresenter(FatalMessagePresenter presenter) {
  fatalMessagePresenter = presenter == nullptr ? showErrorBox : presenter;
}

}  // namespace quorvel
