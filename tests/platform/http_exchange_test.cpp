// The HTTP exchange against a scripted server that answers, misbehaves or stalls, row by row.
#include "platform/http_exchange.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/object_system.h"
#include "support/scripted_server.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using testing::Connection;
using testing::ScriptedServer;
using Clock = std::chrono::steady_clock;

constexpr auto kLimit = 300ms;
const HttpTimeouts kShortLimits{kLimit, kLimit, kLimit, kLimit};

// Where a row's request goes: the scripted server, or a special address.
enum class Target { scriptedServer, refusedPort, stalledListener };

struct ExchangeCase {
  const char* name;
  ScriptedServer::Script script;
  HttpFailure failure;
  std::string body;  // when the exchange completes
  std::chrono::milliseconds atLeast;
  std::chrono::milliseconds atMost;
  Target target = Target::scriptedServer;
  std::size_t requestBodySize = 4;
};

class HttpExchangeRows : public ::testing::TestWithParam<ExchangeCase> {
 protected:
  static void SetUpTestSuite() { startObjectSystem(); }
  static void TearDownTestSuite() { stopObjectSystem(); }
};

TEST_P(HttpExchangeRows, EndsAsScriptedWithinItsTime) {
  const ExchangeCase& row = GetParam();
  ScriptedServer server(row.script);
  testing::StalledListener stalled;
  std::string url = server.url("/page");
  if (row.target == Target::refusedPort) url = "http://127.0.0.1:" + std::to_string(testing::refusingPort()) + "/";
  if (row.target == Target::stalledListener) url = stalled.url();

  HttpExchange exchange;
  const auto started = Clock::now();
  HttpReply reply = exchange.perform({"POST", url, {{"Content-Type", "text/plain"}}, std::string(row.requestBodySize, 'x')},
                                     kShortLimits);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);

  EXPECT_EQ(reply.failure, row.failure) << reply.detail;
  if (row.failure == HttpFailure::none) {
    EXPECT_EQ(reply.body, row.body);
  } else {
    EXPECT_TRUE(reply.body.empty());
  }
  EXPECT_GE(elapsed, row.atLeast);
  EXPECT_LE(elapsed, row.atMost);
  RecordProperty("elapsed_ms", static_cast<int>(elapsed.count()));
}

void answer(Connection& c, const std::string& reply) {
  if (c.readRequest()) c.send(reply);
}

const std::string kHeadOfTen = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n";
const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, HttpExchangeRows,
    ::testing::Values(
        ExchangeCase{"NormalReply", [](Connection& c) { answer(c, testing::httpReply("hello")); }, HttpFailure::none, "hello", 0ms,
                     1000ms},
        ExchangeCase{"ErrorStatusBodyTaken", [](Connection& c) { answer(c, testing::httpReply("oops", "500 Internal Server Error")); },
                     HttpFailure::none, "oops", 0ms, 1000ms},
        ExchangeCase{"EmptyBody", [](Connection& c) { answer(c, testing::httpReply("")); }, HttpFailure::none, "", 0ms, 1000ms},
        ExchangeCase{"ZeroBytesInBody", [](Connection& c) { answer(c, testing::httpReply(std::string("a\0b\0", 4))); },
                     HttpFailure::none, std::string("a\0b\0", 4), 0ms, 1000ms},
        ExchangeCase{"BodyUntilClose",
                     [](Connection& c) { answer(c, "HTTP/1.0 200 OK\r\n\r\nto the end"); },
                     HttpFailure::none, "to the end", 0ms, 1000ms},
        ExchangeCase{"Reset",
                     [](Connection& c) {
                       c.readRequest();
                       c.reset();
                     },
                     HttpFailure::transferFailed, "", 0ms, 1000ms},
        ExchangeCase{"CloseBeforeAnyReply", [](Connection& c) { c.readRequest(); }, HttpFailure::transferFailed, "", 0ms,
                     1000ms},
        ExchangeCase{"NoAnswer",
                     [](Connection& c) {
                       c.readRequest();
                       c.holdUntilClosed();
                     },
                     HttpFailure::receiveTimedOut, "", kLimit, kLimit + 400ms},
        ExchangeCase{"StallMidBody",
                     [](Connection& c) {
                       c.readRequest();
                       c.send(kHeadOfTen + "12345");
                       c.holdUntilClosed();
                     },
                     HttpFailure::receiveTimedOut, "", kLimit, kLimit + 400ms},
        ExchangeCase{"SlowDripHitsTheDeadline",
                     [](Connection& c) {
                       c.readRequest();
                       c.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
                       c.drip(std::string(100, 'd'), 100ms);
                     },
                     HttpFailure::deadlinePassed, "", 4 * kLimit, 4 * kLimit + 500ms},
        ExchangeCase{"RefusedConnection", [](Connection&) {}, HttpFailure::transferFailed, "", 0ms, 1000ms,
                     Target::refusedPort},
        ExchangeCase{"ConnectStalls", [](Connection&) {}, HttpFailure::connectTimedOut, "", kLimit, kLimit + 400ms,
                     Target::stalledListener},
        ExchangeCase{"SendStalls",
                     [](Connection& c) { c.holdWithoutReading(); },
                     HttpFailure::sendTimedOut, "", kLimit, 3000ms, Target::scriptedServer, 64u << 20},
        ExchangeCase{"HugeBodyHitsTheCap",
                     [](Connection& c) {
                       c.readRequest();
                       c.send("HTTP/1.1 200 OK\r\n\r\n");
                       std::string block(1 << 20, 'h');
                       for (int i = 0; i < 20 && c.send(block); ++i) {
                       }
                     },
                     HttpFailure::replyTooLarge, "", 0ms, 3000ms},
        ExchangeCase{"BrokenChunk", [](Connection& c) { answer(c, kChunkedHead + "ZZ\r\nhello\r\n0\r\n\r\n"); },
                     HttpFailure::transferFailed, "", 0ms, 1000ms},
        ExchangeCase{"ChunksCutOff", [](Connection& c) { answer(c, kChunkedHead + "5\r\nhello\r\n"); },
                     HttpFailure::transferFailed, "", 0ms, 1000ms},
        ExchangeCase{"WholeChunks", [](Connection& c) { answer(c, kChunkedHead + "5\r\nhello\r\n0\r\n\r\n"); },
                     HttpFailure::none, "hello", 0ms, 1000ms},
        ExchangeCase{"RedirectLoop",
                     [](Connection& c) {
                       while (c.readRequest()) c.send("HTTP/1.1 302 Found\r\nLocation: /page\r\nContent-Length: 0\r\n\r\n");
                     },
                     HttpFailure::tooManyRedirects, "", 0ms, 2000ms},
        ExchangeCase{"RedirectToAnotherScheme",
                     [](Connection& c) {
                       answer(c, "HTTP/1.1 301 Moved\r\nLocation: ftp://127.0.0.1/x\r\nContent-Length: 0\r\n\r\n");
                     },
                     HttpFailure::redirectRefused, "", 0ms, 1000ms}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpExchange, RedirectPolicyAllowsHttpAndHttpsButNeverDowngrades) {
  EXPECT_TRUE(redirectAllowed("http://a/", "http://b/"));
  EXPECT_TRUE(redirectAllowed("http://a/", "https://b/"));
  EXPECT_TRUE(redirectAllowed("https://a/", "HTTPS://b/"));
  EXPECT_FALSE(redirectAllowed("https://a/", "http://b/"));
  EXPECT_FALSE(redirectAllowed("HTTPS://a/", "http://a/"));
  EXPECT_FALSE(redirectAllowed("http://a/", "ftp://b/"));
  EXPECT_FALSE(redirectAllowed("http://a/", "file:///etc/passwd"));
}

class HttpExchangeRedirects : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() { startObjectSystem(); }
  static void TearDownTestSuite() { stopObjectSystem(); }
};

// 301, 302 and 303 turn a POST into a GET without body; 307 and 308 post the body again.
TEST_P(HttpExchangeRedirects, FollowsWithTheRightMethod) {
  const int status = GetParam();
  ScriptedServer server([status](Connection& c) {
    while (auto request = c.readRequest()) {
      if (request->starts_with("POST /first")) {
        c.send("HTTP/1.1 " + std::to_string(status) + " Moved\r\nLocation: /second\r\nContent-Length: 0\r\n\r\n");
      } else {
        c.send(testing::httpReply("arrived"));
      }
    }
  });
  HttpExchange exchange;
  HttpReply reply = exchange.perform(
      {"POST", server.url("/first"), {{"Content-Type", "application/x-www-form-urlencoded"}}, "a=1"}, kShortLimits);
  ASSERT_TRUE(reply.completed()) << reply.detail;
  EXPECT_EQ(reply.body, "arrived");
  auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  if (status == 307 || status == 308) {
    EXPECT_TRUE(requests[1].starts_with("POST /second HTTP/1.1\r\n")) << requests[1];
    EXPECT_TRUE(requests[1].ends_with("\r\n\r\na=1")) << requests[1];
  } else {
    EXPECT_TRUE(requests[1].starts_with("GET /second HTTP/1.1\r\n")) << requests[1];
    EXPECT_EQ(requests[1].find("Content-Length"), std::string::npos) << requests[1];
    EXPECT_EQ(requests[1].find("Content-Type"), std::string::npos) << requests[1];
  }
}

INSTANTIATE_TEST_SUITE_P(Statuses, HttpExchangeRedirects, ::testing::Values(301, 302, 303, 307, 308));

TEST(HttpExchange, SendsOnlyTheCallersHeadersInOrder) {
  startObjectSystem();
  ScriptedServer server([](Connection& c) { answer(c, testing::httpReply("ok")); });
  HttpExchange exchange;
  HttpReply reply = exchange.perform(
      {"POST", server.url("/p?q=1&r=2"), {{"X-First", "1"}, {"Accept", "a/b"}, {"Connection", "Keep-Alive"}}, "body"},
      kShortLimits);
  ASSERT_TRUE(reply.completed()) << reply.detail;
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], "POST /p?q=1&r=2 HTTP/1.1\r\nHost: " + server.hostAndPort() +
                                      "\r\nX-First: 1\r\nAccept: a/b\r\nConnection: Keep-Alive\r\n"
                                      "Content-Length: 4\r\n\r\nbody");
  stopObjectSystem();
}

}  // namespace
}  // namespace quorvel
