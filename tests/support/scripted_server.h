// A raw-socket HTTP server on 127.0.0.1 whose behaviour each test scripts, misbehaviour included.
//
// Connections are served one after another on a thread of the server's own; each is handed
// to the script. Every wait is bounded, and the destructor stops the thread, so a test
// never hangs on its server.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvel::testing {

using namespace std::chrono_literals;

class ScriptedServer;

// One accepted connection, as a script sees it.
class Connection {
 public:
  Connection(int fd, ScriptedServer& server) : fd_(fd), server_(server) {}

  // Reads one request (headers, and a body of Content-Length bytes), records it and returns
  // it; nullopt when the client closes first or the limit passes.
  std::optional<std::string> readRequest(std::chrono::milliseconds limit = 5s);
  // Writes all of `bytes` (false if the client went away).
  bool send(std::string_view bytes);
  // Writes one byte every `gap`.
  void drip(std::string_view bytes, std::chrono::milliseconds gap);
  // Waits until the client closes, the server stops, or the limit passes; reads nothing more
  // than it must to notice the close.
  void holdUntilClosed(std::chrono::milliseconds limit = 5s);
  // Holds the connection without reading anything, so that the client's writes stall.
  void holdWithoutReading(std::chrono::milliseconds limit = 5s);
  // Ends the connection with a reset instead of an orderly close.
  void reset();

 private:
  bool stopping() const;

  int fd_;
  ScriptedServer& server_;
  std::string pending_;
};

class ScriptedServer {
 public:
  using Script = std::function<void(Connection&)>;

  explicit ScriptedServer(Script script);
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;
  ~ScriptedServer();

  std::uint16_t port() const { return port_; }
  std::string hostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(std::string_view pathAndQuery = "/") const;
  // Every request the scripts have read, in order.
  std::vector<std::string> requests() const;

 private:
  friend class Connection;
  void serve();
  void record(std::string request);

  Script script_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A whole HTTP/1.1 reply that carries `body`, with its Content-Length.
inline std::string httpReply(const std::string& body, const std::string& status = "200 OK") {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// A port on 127.0.0.1 where nothing listens: connections to it are refused.
std::uint16_t refusingPort();

// A listener that never accepts and whose backlog is full, so that a new connection to it
// neither succeeds nor fails: it hangs until the client gives up.
class StalledListener {
 public:
  StalledListener();
  StalledListener(const StalledListener&) = delete;
  StalledListener& operator=(const StalledListener&) = delete;
  ~StalledListener();

  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  int listener_ = -1;
  std::vector<int> fillers_;
  std::uint16_t port_ = 0;
};

}  // namespace quorvel::testing
