// startup_bench PROGRAM BASELINE [RUNS]: how fast each program shows its window and how much
// memory it then holds, side by side, on the X display in DISPLAY (run it through
// bench/run-startup-bench, which brings up Xvfb). Times run from the process's start until its
// window is mapped; memory is the resident size of the idle window; instructions, counted by
// callgrind, run from the start until the window is mapped.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Starts a program with its standard output silenced (only the benchmark's table goes there),
// and its standard error too where asked.
pid_t spawn(std::vector<std::string> arguments, bool silenceErrors = false) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (silenceErrors) posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed != 0 ? -1 : pid;
}

void stop(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// Waits until some client maps a top-level window; false after `limit`.
bool waitForMap(Display* display, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) return true;
    }
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(ConnectionNumber(display), &ready);
    timeval slice{0, 1000};
    select(ConnectionNumber(display) + 1, &ready, nullptr, nullptr, &slice);
  }
  return false;
}

long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

struct Run {
  double milliseconds;
  long residentKiB;
};

std::optional<Run> measureStart(Display* display, const std::string& program) {
  const auto started = Clock::now();
  pid_t pid = spawn({program});
  if (pid < 0 || !waitForMap(display, 20s)) {
    if (pid > 0) stop(pid);
    return std::nullopt;
  }
  const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  std::this_thread::sleep_for(500ms);  // the idle window, once it has settled
  const long resident = residentKiB(pid);
  stop(pid);
  XSync(display, True);
  return Run{elapsed, resident};
}

// Instructions from the start until the window is mapped, counted by callgrind: the dump
// requested at the map holds exactly those (the count at exit goes to another file).
std::optional<long long> countInstructions(Display* display, const std::string& program) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::string prefix = (folder / ("startup-" + std::to_string(getpid()) + ".cg.")).string();
  pid_t pid = spawn({"valgrind", "-q", "--tool=callgrind", "--callgrind-out-file=" + prefix + "%p", program});
  if (pid < 0 || !waitForMap(display, 120s)) {
    if (pid > 0) stop(pid);
    return std::nullopt;
  }
  pid_t dumper = spawn({"callgrind_control", "--dump", std::to_string(pid)}, true);
  waitpid(dumper, nullptr, 0);
  stop(pid);
  XSync(display, True);
  std::optional<long long> instructions;
  std::ifstream dump(prefix + std::to_string(pid) + ".1");
  std::string line;
  while (std::getline(dump, line)) {
    if (line.rfind("totals:", 0) == 0) instructions = std::atoll(line.c_str() + 7);
  }
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().string().rfind(prefix, 0) == 0) std::filesystem::remove(entry.path());
  }
  return instructions;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM BASELINE [RUNS]\n");
    return 2;
  }
  const std::string programs[2] = {argv[1], argv[2]};
  const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "startup_bench: no X display\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

  std::vector<double> times[2];
  std::vector<double> resident[2];
  measureStart(display, programs[0]);  // warm the caches of both before measuring
  measureStart(display, programs[1]);
  for (int run = 0; run < runs; ++run) {
    for (int which = 0; which < 2; ++which) {  // side by side: the two alternate
      std::optional<Run> measured = measureStart(display, programs[which]);
      if (!measured) {
        std::fprintf(stderr, "startup_bench: %s showed no window\n", programs[which].c_str());
        return 1;
      }
      times[which].push_back(measured->milliseconds);
      resident[which].push_back(static_cast<double>(measured->residentKiB));
    }
  }
  std::optional<long long> instructions[2] = {countInstructions(display, programs[0]),
                                              countInstructions(display, programs[1])};

  std::printf("%d starts of each, alternating; medians\n", runs);
  std::printf("%-34s %12s %12s %8s\n", "", "program", "baseline", "ratio");
  const double time0 = median(times[0]), time1 = median(times[1]);
  const double rss0 = median(resident[0]), rss1 = median(resident[1]);
  std::printf("%-34s %10.1f ms %10.1f ms %8.3f\n", "time until the window is mapped", time0, time1, time0 / time1);
  std::printf("%-34s %9.0f KiB %9.0f KiB %8.3f\n", "resident memory of the idle window", rss0, rss1, rss0 / rss1);
  if (instructions[0] && instructions[1]) {
    std::printf("%-34s %12lld %12lld %8.3f\n", "instructions until mapped", *instructions[0], *instructions[1],
                static_cast<double>(*instructions[0]) / static_cast<double>(*instructions[1]));
  } else {
    std::printf("instructions until mapped: callgrind gave no count\n");
  }
  XCloseDisplay(display);
  return 0;
}
