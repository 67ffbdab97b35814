// The life cycle's orders, observed: exit routine, event dispatch, message loop and the fatal stop.
#include "shell/life_cycle.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "platform/object_system.h"
#include "query/program_holders.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

void printFatalMessage(std::string_view message) {
  std::fprintf(stderr, "fatal box: %.*s\n", static_cast<int>(message.size()), message.data());
}

void exitRoutineMustNotRun() { std::_Exit(3); }

// Each program run happens in a child process: the life cycle's state lasts a process.
TEST(LifeCycleDeathTest, AnUnknownWindowIsFatalWithoutTheExitRoutine) {
  EXPECT_EXIT(
      {
        setFatalMessagePresenter(printFatalMessage);
        startServices();
        initGlobals();
        registerExitRoutine(exitRoutineMustNotRun);
        loadWindow(0xDEADBEEF);
      },
      ::testing::ExitedWithCode(255), "fatal box: There is no window with id 3735928559");
}

TEST(LifeCycleDeathTest, RunningOutOfMemoryIsFatalAndNamesTheBytes) {
  EXPECT_EXIT(
      {
        setFatalMessagePresenter(printFatalMessage);
        startServices();
        initGlobals();
        registerExitRoutine(exitRoutineMustNotRun);
        volatile std::size_t huge = ~std::size_t{0} - 64;
        allocateBlock(huge);
      },
      ::testing::ExitedWithCode(255), "fatal box: Out of memory: a block of [0-9]+ bytes could not be allocated");
}

// What the exit routine saw when it ran.
struct ExitObservation {
  int runs = 0;
  bool windowOpen = true;
  bool objectSystemRunning = false;
  bool holdersAsStarted = false;
};
ExitObservation observation;

void observingExitRoutine() {
  ++observation.runs;
  observation.windowOpen = QueryWindow::anyOpen();
  observation.objectSystemRunning = objectSystemIsRunning();
  observation.holdersAsStarted = RequestObject->object == nullptr && ResponseVariant->tag == kTagInteger &&
                                 ResponseVariant->integer == 0;
  releaseGlobals();
}

int clicksHandled = 0;
void countClick() { ++clicksHandled; }

TEST(LifeCycleDeathTest, EscEndsTheLoopAndShutdownRunsTheExitRoutineOnceInOrder) {
  EXPECT_EXIT(
      {
        startServices();
        initGlobals();
        registerExitRoutine(exitRoutineMustNotRun);
        registerExitRoutine(observingExitRoutine);  // a later registration replaces the earlier
        bindEventHandler(ids::按钮1, WindowEvent::clicked, countClick);
        loadWindow(ids::QueryWindow);
        QueryWindow* window = QueryWindow::find(ids::QueryWindow);
        QTimer::singleShot(0, [window] {
          QTest::keyClick(window->control(ids::按钮1), Qt::Key_Space);
          QTest::keyClick(window->control(ids::编辑框1), Qt::Key_Escape);
        });
        runMessageLoop();
        const bool windowGone = !QueryWindow::anyOpen();
        shutDown();
        dispatchWindowEvent(ids::按钮1, WindowEvent::clicked);  // after shutdown began: dropped
        std::fprintf(stderr, "runs=%d windowGone=%d windowOpenAtExit=%d objectSystemAtExit=%d holders=%d stopped=%d clicks=%d\n",
                     observation.runs, windowGone, observation.windowOpen, observation.objectSystemRunning,
                     observation.holdersAsStarted, !objectSystemIsRunning(), clicksHandled);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0),
      "runs=1 windowGone=1 windowOpenAtExit=0 objectSystemAtExit=1 holders=1 stopped=1 clicks=1");
}

TEST(LifeCycleDeathTest, TheMessageLoopReturnsAtOnceWithoutAWindow) {
  EXPECT_EXIT(
      {
        startServices();
        runMessageLoop();
        std::fprintf(stderr, "returned\n");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "returned");
}

TEST(LifeCycleDeathTest, OnlyTheCreatedEventIsDeliveredWhileLoading) {
  EXPECT_EXIT(
      {
        startServices();
        bindEventHandler(ids::QueryWindow, WindowEvent::created, [] {
          std::fprintf(stderr, "created while %s\n", lifeCycleState() == LifeCycleState::loading ? "loading" : "other");
          dispatchWindowEvent(ids::按钮1, WindowEvent::clicked);  // held back while loading
        });
        bindEventHandler(ids::按钮1, WindowEvent::clicked, countClick);
        loadWindow(ids::QueryWindow);
        std::fprintf(stderr, "loaded, %s, clicks=%d\n", lifeCycleState() == LifeCycleState::running ? "running" : "other",
                     clicksHandled);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "created while loading\n(.*\n)*loaded, running, clicks=0");
}

}  // namespace
}  // namespace quorvel
