// Starting, waiting for and stopping the stand-in query service.
#include "support/query_service_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/scripted_server.h"

extern char** environ;

namespace quorvel::testing {
namespace {

bool accepts(std::uint16_t port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

QueryServiceProcess::QueryServiceProcess(const std::string& path) : port_(refusingPort()) {
  std::string port = std::to_string(port_);
  char* arguments[] = {const_cast<char*>(path.c_str()), port.data(), nullptr};
  // The service's one-line log of each request goes nowhere: a test looks at replies.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawn(&pid_, path.c_str(), &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    pid_ = -1;
    return;
  }
  for (int attempt = 0; attempt < 250 && !listening_; ++attempt) {
    listening_ = accepts(port_);
    if (!listening_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

QueryServiceProcess::~QueryServiceProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

}  // namespace quorvel::testing
