// The HTTP exchange: libcurl's multi interface in our own loop, phase by phase.
#include "platform/http_exchange.h"

#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "platform/curl_library.h"
#include "platform/fatal_stop.h"
#include "platform/object_system.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long one wait for libcurl lasts before the limits are looked at again.
constexpr milliseconds kWaitSlice{20};

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower;
}

std::string schemeOf(std::string_view url) {
  std::size_t end = url.find("://");
  return end == std::string_view::npos ? std::string() : lowerCase(url.substr(0, end));
}

bool isRedirectStatus(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool sameHeaderName(std::string_view a, std::string_view b) { return lowerCase(a) == lowerCase(b); }

// The header lines of one hop, in the caller's order, with libcurl's own defaults kept out.
class HeaderList {
 public:
  HeaderList(const CurlLibrary& curl, const std::vector<HttpHeader>& headers) : curl_(curl) {
    bool hasAccept = false;
    bool hasContentType = false;
    for (const HttpHeader& header : headers) {
      hasAccept |= sameHeaderName(header.name, "Accept");
      hasContentType |= sameHeaderName(header.name, "Content-Type");
      // "Name;" is libcurl's way of sending a header with an empty value.
      append(header.value.empty() ? header.name + ";" : header.name + ": " + header.value);
    }
    // A bare "Name:" removes the header that libcurl would add by itself.
    if (!hasAccept) append("Accept:");
    if (!hasContentType) append("Content-Type:");
    append("Expect:");
  }
  HeaderList(const HeaderList&) = delete;
  HeaderList& operator=(const HeaderList&) = delete;
  ~HeaderList() { curl_.slist_free_all(list_); }

  curl_slist* get() const { return list_; }

 private:
  void append(const std::string& line) {
    curl_slist* grown = curl_.slist_append(list_, line.c_str());
    // libcurl answers nothing only when memory has run out, which ends the program anywhere.
    if (grown == nullptr) stopFatally("Out of memory: a request header of " + std::to_string(line.size()) + " bytes could not be kept.");
    list_ = grown;
  }

  const CurlLibrary& curl_;
  curl_slist* list_ = nullptr;
};

// What libcurl's callbacks report during one hop, and the clock of each phase.
struct HopProgress {
  Clock::time_point started;
  std::optional<Clock::time_point> resolvedAt;
  std::optional<Clock::time_point> connectedAt;
  std::optional<Clock::time_point> sentAt;
  Clock::time_point lastUploadAt;
  Clock::time_point lastReceiveAt;
  curl_off_t uploaded = 0;
  std::string body;
  bool bodyTooLarge = false;

  explicit HopProgress(Clock::time_point now) : started(now), lastUploadAt(now), lastReceiveAt(now) {}

  void markResolved() {
    if (!resolvedAt) resolvedAt = Clock::now();
  }
  void markConnected() {
    markResolved();
    if (!connectedAt) connectedAt = lastUploadAt = Clock::now();
  }
};

curl_socket_t openSocket(void* progress, curlsocktype, curl_sockaddr* address) {
  // Called once the address is known, for each new connection.
  static_cast<HopProgress*>(progress)->markResolved();
  return socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

int connectionStands(void* progress, char*, char*, int, int) {
  // Called when the connection stands, new or reused, just before the request goes out.
  static_cast<HopProgress*>(progress)->markConnected();
  return CURL_PREREQFUNC_OK;
}

std::size_t receiveHeader(char*, std::size_t size, std::size_t count, void* progress) {
  static_cast<HopProgress*>(progress)->lastReceiveAt = Clock::now();
  return size * count;
}

std::size_t receiveBody(char* bytes, std::size_t size, std::size_t count, void* progressPointer) {
  auto* progress = static_cast<HopProgress*>(progressPointer);
  std::size_t length = size * count;
  progress->lastReceiveAt = Clock::now();
  if (progress->body.size() + length > kMaxReplyBodyBytes) {
    progress->bodyTooLarge = true;
    return CURL_WRITEFUNC_ERROR;
  }
  progress->body.append(bytes, length);
  return length;
}

const char* describe(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::none: return "completed";
    case HttpFailure::resolveTimedOut: return "the host name was not resolved in time";
    case HttpFailure::connectTimedOut: return "the connection was not made in time";
    case HttpFailure::sendTimedOut: return "the request stopped going out";
    case HttpFailure::receiveTimedOut: return "the reply stopped coming in";
    case HttpFailure::deadlinePassed: return "the exchange took longer than all its time limits together";
    case HttpFailure::replyTooLarge: return "the reply body is over 16 MiB";
    case HttpFailure::tooManyRedirects: return "more than 10 redirects";
    case HttpFailure::redirectRefused: return "a redirect to a scheme that is not allowed";
    case HttpFailure::transferFailed: return "the transfer failed";
  }
  return "unknown";
}

bool hasLimit(milliseconds limit) { return limit.count() > 0; }

// The phase whose idle limit has run out, if any.
HttpFailure expiredPhase(const HopProgress& hop, const HttpTimeouts& limits, Clock::time_point now) {
  if (!hop.resolvedAt) {
    return hasLimit(limits.resolve) && now - hop.started > limits.resolve ? HttpFailure::resolveTimedOut : HttpFailure::none;
  }
  if (!hop.connectedAt) {
    return hasLimit(limits.connect) && now - *hop.resolvedAt > limits.connect ? HttpFailure::connectTimedOut
                                                                               : HttpFailure::none;
  }
  if (!hop.sentAt) {
    // Bytes coming back while the request is still going out count as progress too.
    Clock::time_point lastProgress = std::max(hop.lastUploadAt, hop.lastReceiveAt);
    return hasLimit(limits.send) && now - lastProgress > limits.send ? HttpFailure::sendTimedOut : HttpFailure::none;
  }
  return hasLimit(limits.receive) && now - hop.lastReceiveAt > limits.receive ? HttpFailure::receiveTimedOut
                                                                               : HttpFailure::none;
}

// The longest one exchange may take: the sum of the four limits, or none if one is unlimited.
std::optional<milliseconds> overallDeadline(const HttpTimeouts& limits) {
  if (!hasLimit(limits.resolve) || !hasLimit(limits.connect) || !hasLimit(limits.send) || !hasLimit(limits.receive)) {
    return std::nullopt;
  }
  return limits.resolve + limits.connect + limits.send + limits.receive;
}

void applyMethod(const CurlLibrary& curl, CURL* easy, const std::string& method, std::string_view body) {
  if (method == "GET") {
    curl.easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else if (method == "HEAD") {
    curl.easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else {
    curl.easy_setopt(easy, CURLOPT_POST, 1L);
    curl.easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    // Never nullptr: that would make libcurl read the body from standard input.
    curl.easy_setopt(easy, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
    if (method != "POST") curl.easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
  }
}

void applyCommonOptions(const CurlLibrary& curl, CURL* easy, HopProgress& progress, const HeaderList& headers) {
  curl.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl.easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
  curl.easy_setopt(easy, CURLOPT_PROXY, "");
  curl.easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl.easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl.easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl.easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
  curl.easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, openSocket);
  curl.easy_setopt(easy, CURLOPT_OPENSOCKETDATA, &progress);
  curl.easy_setopt(easy, CURLOPT_PREREQFUNCTION, connectionStands);
  curl.easy_setopt(easy, CURLOPT_PREREQDATA, &progress);
  curl.easy_setopt(easy, CURLOPT_HEADERFUNCTION, receiveHeader);
  curl.easy_setopt(easy, CURLOPT_HEADERDATA, &progress);
  curl.easy_setopt(easy, CURLOPT_WRITEFUNCTION, receiveBody);
  curl.easy_setopt(easy, CURLOPT_WRITEDATA, &progress);
}

// Drives one hop until libcurl is done with it (its result) or a limit runs out (nullopt,
// with `failure` saying which).
std::optional<CURLcode> runHop(const CurlLibrary& curl, CURL* easy, CURLM* multi, HopProgress& hop, const HttpTimeouts& timeouts,
                               std::size_t bodySize, Clock::time_point exchangeStarted, HttpFailure& failure) {
  const std::optional<milliseconds> deadline = overallDeadline(timeouts);
  while (true) {
    int running = 0;
    curl.multi_perform(multi, &running);
    int queued = 0;
    while (CURLMsg* message = curl.multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE) return message->data.result;
    }

    Clock::time_point now = Clock::now();
    curl_off_t uploaded = 0;
    curl.easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
    if (uploaded != hop.uploaded) {
      hop.uploaded = uploaded;
      hop.lastUploadAt = now;
    }
    if (hop.connectedAt && !hop.sentAt && static_cast<std::size_t>(hop.uploaded) >= bodySize) {
      hop.sentAt = hop.lastReceiveAt = now;
    }
    failure = expiredPhase(hop, timeouts, now);
    if (failure == HttpFailure::none && deadline && now - exchangeStarted > *deadline) {
      failure = HttpFailure::deadlinePassed;
    }
    if (failure != HttpFailure::none) return std::nullopt;
    curl.multi_poll(multi, nullptr, 0, static_cast<int>(kWaitSlice.count()), nullptr);
  }
}

}  // namespace

bool redirectAllowed(std::string_view fromUrl, std::string_view toUrl) {
  std::string from = schemeOf(fromUrl);
  std::string to = schemeOf(toUrl);
  if (to != "http" && to != "https") return false;
  return !(from == "https" && to == "http");
}

// The library's global start comes first; should it fail, the handles are missing and every
// exchange fails as a transfer that could not be made.
HttpExchange::HttpExchange()
    : curl_(useHttpLibrary()),
      easy_(curl_ == nullptr ? nullptr : curl_->easy_init()),
      multi_(curl_ == nullptr ? nullptr : curl_->multi_init()) {}

HttpExchange::~HttpExchange() {
  if (multi_ != nullptr) curl_->multi_cleanup(multi_);
  if (easy_ != nullptr) curl_->easy_cleanup(easy_);
}

HttpReply HttpExchange::perform(const HttpRequestMessage& request, const HttpTimeouts& timeouts) {
  HttpReply reply;
  if (easy_ == nullptr || multi_ == nullptr) {
    reply.failure = HttpFailure::transferFailed;
    reply.detail = "libcurl could not be loaded, or could not make a handle";
    return reply;
  }
  const CurlLibrary& curl = *curl_;
  const Clock::time_point exchangeStarted = Clock::now();
  std::string url = request.url;
  std::string method = request.method;
  std::string_view body = request.body;  // the caller's, unless a redirect drops it
  std::vector<HttpHeader> headers = request.headers;

  for (int redirects = 0;; ++redirects) {
    HopProgress hop(Clock::now());
    HeaderList headerList(curl, headers);
    curl.easy_reset(easy_);  // keeps the open connection for a redirect to the same server
    applyCommonOptions(curl, easy_, hop, headerList);
    applyMethod(curl, easy_, method, body);
    curl.easy_setopt(easy_, CURLOPT_URL, url.c_str());
    curl.multi_add_handle(multi_, easy_);

    std::optional<CURLcode> result = runHop(curl, easy_, multi_, hop, timeouts, body.size(), exchangeStarted, reply.failure);
    curl.multi_remove_handle(multi_, easy_);
    if (!result) {
      reply.detail = describe(reply.failure);
      return reply;
    }
    if (*result != CURLE_OK) {
      reply.failure = hop.bodyTooLarge ? HttpFailure::replyTooLarge : HttpFailure::transferFailed;
      reply.detail = curl.easy_strerror(*result);
      return reply;
    }

    curl.easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &reply.status);
    char* location = nullptr;
    curl.easy_getinfo(easy_, CURLINFO_REDIRECT_URL, &location);
    if (!isRedirectStatus(reply.status) || location == nullptr) {
      reply.body = std::move(hop.body);
      return reply;
    }
    if (redirects == kMaxRedirects) {
      reply.failure = HttpFailure::tooManyRedirects;
      reply.detail = describe(reply.failure);
      return reply;
    }
    if (!redirectAllowed(url, location)) {
      reply.failure = HttpFailure::redirectRefused;
      reply.detail = std::string("redirect refused: ") + location;
      return reply;
    }
    if (method == "POST" && (reply.status == 301 || reply.status == 302 || reply.status == 303)) {
      // As browsers do: the form is not posted again, the new address is fetched.
      method = "GET";
      body = {};
      std::erase_if(headers, [](const HttpHeader& header) { return sameHeaderName(header.name, "Content-Type"); });
    }
    url = location;
  }
}

}  // namespace quorvel
