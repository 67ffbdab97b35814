// A name lookup that never gets an answer: the resolve limit ends the exchange, and the
// request object goes away without waiting for the lookup.
//
// The test needs a resolver that never answers. It makes one in a child process with its
// own network and mount namespaces (which needs root): loopback only, /etc/resolv.conf
// pointing at a UDP socket on 127.0.0.1 that reads nothing. Without root it is skipped.
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/http_exchange.h"
#include "platform/object_system.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kCannotIsolate = 77;
constexpr int kWrongOutcome = 1;
constexpr int kTooSlow = 2;

bool bringUpLoopback() {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool up = ioctl(fd, SIOCGIFFLAGS, &request) == 0;
  request.ifr_flags |= IFF_UP;
  up = up && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
  close(fd);
  return up;
}

bool pointResolverAtSilence() {
  char path[] = "/tmp/quorvel-resolv-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return false;
  const char kConf[] = "nameserver 127.0.0.1\noptions timeout:30 attempts:1\n";
  bool written = write(fd, kConf, sizeof kConf - 1) == static_cast<ssize_t>(sizeof kConf - 1);
  close(fd);
  bool mounted = written && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                 mount(path, "/etc/resolv.conf", nullptr, MS_BIND, nullptr) == 0;
  unlink(path);
  return mounted;
}

int silentDnsSocket() {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(53);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

// Runs in the child: its exit status says how the exchange went.
int lookUpWithoutAnswer() {
  if (unshare(CLONE_NEWNS | CLONE_NEWNET) != 0 || !bringUpLoopback() || !pointResolverAtSilence()) {
    return kCannotIsolate;
  }
  int silent = silentDnsSocket();
  if (silent < 0 || !startObjectSystem()) return kCannotIsolate;
  const auto started = Clock::now();
  HttpFailure failure;
  {
    HttpExchange exchange;
    failure = exchange.perform({"POST", "http://quorvel-stall.invalid/", {}, "x"}, {300ms, 300ms, 300ms, 300ms}).failure;
  }  // the handle goes away here, with the lookup still pending
  const auto elapsed = Clock::now() - started;
  stopObjectSystem();
  std::printf("resolve limit ended the exchange after %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
  std::fflush(stdout);
  if (failure != HttpFailure::resolveTimedOut) return kWrongOutcome;
  return elapsed < 1000ms ? 0 : kTooSlow;
}

TEST(StalledNameLookup, EndsAtTheResolveLimitAndDoesNotFreezeCleanup) {
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(lookUpWithoutAnswer());

  int status = 0;
  const auto deadline = Clock::now() + 20s;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      FAIL() << "the exchange froze on a stalled name lookup";
    }
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotIsolate) GTEST_SKIP() << "needs root to make a resolver that never answers";
  EXPECT_NE(WEXITSTATUS(status), kWrongOutcome) << "the exchange did not end at the resolve limit";
  EXPECT_NE(WEXITSTATUS(status), kTooSlow) << "the exchange or its cleanup outlasted the resolve limit";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace quorvel
