// One HTTP exchange over libcurl, with idle limits per phase, a deadline and a size cap.
//
// The request object's "send" runs here. libcurl is driven from our own wait loop in short
// slices, so that each time-out is an idle limit on its own phase, as the Windows request
// object applies them, and holds to within a few tens of milliseconds:
//   resolve  until the host's address is known;
//   connect  until the connection stands;
//   send     each stretch in which the request makes no progress;
//   receive  each wait for reply bytes.
// A limit of 0 means none. When all four are set, the whole exchange, redirects included,
// never lasts longer than their sum: a server that drips one byte at a time cannot hold
// the caller for ever. A reply body over 16 MiB fails the exchange.
//
// Redirects are followed by hand (at most 10, http and https only, never from https to
// http); a POST answered with 301, 302 or 303 goes on as a GET without body, 307 and 308
// repeat it. No proxy is taken from the environment, no cookies are kept, and nothing of
// libcurl's own default headers goes out: the request carries Host, the caller's headers
// in their order, Content-Length and the body.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

typedef void CURL;
typedef void CURLM;

namespace quorvel {

struct CurlLibrary;

struct HttpTimeouts {
  std::chrono::milliseconds resolve{0};
  std::chrono::milliseconds connect{0};
  std::chrono::milliseconds send{0};
  std::chrono::milliseconds receive{0};
};

struct HttpHeader {
  std::string name;
  std::string value;
};

struct HttpRequestMessage {
  std::string method;
  std::string url;
  std::vector<HttpHeader> headers;
  std::string body;
};

enum class HttpFailure {
  none,
  resolveTimedOut,
  connectTimedOut,
  sendTimedOut,
  receiveTimedOut,
  deadlinePassed,
  replyTooLarge,
  tooManyRedirects,
  redirectRefused,
  transferFailed,
};

struct HttpReply {
  HttpFailure failure = HttpFailure::none;
  long status = 0;
  std::string body;    // empty unless the exchange completed
  std::string detail;  // what went wrong, in words, for tests and diagnostics

  bool completed() const { return failure == HttpFailure::none; }
};

inline constexpr std::size_t kMaxReplyBodyBytes = 16u << 20;
inline constexpr int kMaxRedirects = 10;

// Whether a redirect from `fromUrl` to `toUrl` may be followed: the target must be http or
// https, and https never gives way to http.
bool redirectAllowed(std::string_view fromUrl, std::string_view toUrl);

// One libcurl handle, used for the exchanges of one request object.
class HttpExchange {
 public:
  HttpExchange();
  HttpExchange(const HttpExchange&) = delete;
  HttpExchange& operator=(const HttpExchange&) = delete;
  ~HttpExchange();

  // Sends the request and waits for the whole reply, or for a failure.
  HttpReply perform(const HttpRequestMessage& request, const HttpTimeouts& timeouts);

 private:
  const CurlLibrary* curl_;  // nullptr when libcurl could not be loaded
  CURL* easy_;
  CURLM* multi_;
};

}  // namespace quorvel
