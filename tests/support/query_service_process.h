// The stand-in query service run as a child process on a free loopback port, for one test.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace quorvel::testing {

class QueryServiceProcess {
 public:
  // Starts the service executable at `path` and waits (a few seconds at most) until it listens.
  explicit QueryServiceProcess(const std::string& path);
  QueryServiceProcess(const QueryServiceProcess&) = delete;
  QueryServiceProcess& operator=(const QueryServiceProcess&) = delete;
  ~QueryServiceProcess();

  bool listening() const { return listening_; }
  std::string hostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
  bool listening_ = false;
};

}  // namespace quorvel::testing
