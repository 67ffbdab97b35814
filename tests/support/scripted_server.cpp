// The scripted server's sockets: accept loop, bounded reads and writes, resets and stalls.
#include "support/scripted_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace quorvel::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSlice = 20ms;

int listenOnLoopback(int backlog, std::uint16_t& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, backlog) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port = ntohs(address.sin_port);
  return fd;
}

// Waits up to one slice for `events` on `fd`.
bool ready(int fd, short events) {
  pollfd entry{fd, events, 0};
  return poll(&entry, 1, static_cast<int>(kSlice.count())) > 0;
}

std::size_t contentLength(std::string_view head) {
  std::string lower(head);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::size_t at = lower.find("\r\ncontent-length:");
  return at == std::string::npos ? 0 : std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

}  // namespace

std::optional<std::string> Connection::readRequest(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!stopping() && Clock::now() < deadline) {
    std::size_t headEnd = pending_.find("\r\n\r\n");
    if (headEnd != std::string::npos) {
      std::size_t total = headEnd + 4 + contentLength(std::string_view(pending_).substr(0, headEnd + 2));
      if (pending_.size() >= total) {
        std::string request = pending_.substr(0, total);
        pending_.erase(0, total);
        server_.record(request);
        return request;
      }
    }
    if (!ready(fd_, POLLIN)) continue;
    char buffer[65536];
    ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
    if (got <= 0) return std::nullopt;
    pending_.append(buffer, static_cast<std::size_t>(got));
  }
  return std::nullopt;
}

bool Connection::send(std::string_view bytes) {
  const auto deadline = Clock::now() + 10s;
  while (!bytes.empty() && !stopping() && Clock::now() < deadline) {
    if (!ready(fd_, POLLOUT)) continue;
    ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return bytes.empty();
}

void Connection::drip(std::string_view bytes, std::chrono::milliseconds gap) {
  for (char byte : bytes) {
    if (stopping() || !send(std::string_view(&byte, 1))) return;
    std::this_thread::sleep_for(gap);
  }
}

void Connection::holdUntilClosed(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!stopping() && Clock::now() < deadline) {
    if (!ready(fd_, POLLIN)) continue;
    char buffer[4096];
    if (recv(fd_, buffer, sizeof buffer, 0) <= 0) return;
  }
}

void Connection::holdWithoutReading(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!stopping() && Clock::now() < deadline) {
    pollfd entry{fd_, POLLRDHUP, 0};
    if (poll(&entry, 1, static_cast<int>(kSlice.count())) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR))) {
      return;
    }
  }
}

void Connection::reset() {
  linger abortive{1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}

bool Connection::stopping() const { return server_.stopping_; }

ScriptedServer::ScriptedServer(Script script) : script_(std::move(script)) {
  listener_ = listenOnLoopback(16, port_);
  thread_ = std::thread([this] { serve(); });
}

ScriptedServer::~ScriptedServer() {
  stopping_ = true;
  thread_.join();
  close(listener_);
}

std::string ScriptedServer::url(std::string_view pathAndQuery) const {
  return "http://" + hostAndPort() + std::string(pathAndQuery);
}

std::vector<std::string> ScriptedServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ScriptedServer::record(std::string request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(std::move(request));
}

void ScriptedServer::serve() {
  while (!stopping_) {
    if (!ready(listener_, POLLIN)) continue;
    int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    Connection connection(fd, *this);
    script_(connection);
    close(fd);
  }
}

std::uint16_t refusingPort() {
  std::uint16_t port = 0;
  int fd = listenOnLoopback(1, port);
  close(fd);
  return port;
}

StalledListener::StalledListener() {
  listener_ = listenOnLoopback(0, port_);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port_);
  // Two connections that are never accepted fill the backlog of a listen(fd, 0) socket.
  for (int i = 0; i < 2; ++i) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fillers_.push_back(fd);
  }
  std::this_thread::sleep_for(50ms);
}

StalledListener::~StalledListener() {
  for (int fd : fillers_) close(fd);
  close(listener_);
}

}  // namespace quorvel::testing
