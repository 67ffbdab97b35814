// The HTTP request object: argument checking and state around one HttpExchange.
#include "platform/http_request.h"

#include <strings.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/curl_library.h"
#include "platform/http_exchange.h"
#include "platform/object_system.h"

namespace quorvel {
namespace {

enum Member : std::int32_t { kSetTimeouts = 1, kOpen, kSetRequestHeader, kSend, kResponseBody };

const TypeInfo& requestTypeInfo() {
  static const TypeInfo typeInfo({
      {u"SetTimeouts", MemberKind::method, kSetTimeouts, 4},
      {u"Open", MemberKind::method, kOpen, 3},
      {u"SetRequestHeader", MemberKind::method, kSetRequestHeader, 2},
      {u"Send", MemberKind::method, kSend, 1},
      {u"ResponseBody", MemberKind::propertyGet, kResponseBody, 0},
  });
  return typeInfo;
}

bool isOmitted(const PlatformVariant& argument) {
  return argument.tag == kTagEmpty || (argument.tag == kTagError && argument.error == kParameterNotFound);
}

std::optional<std::int32_t> integerArgument(const PlatformVariant& argument) {
  switch (argument.tag) {
    case kTagInteger: return argument.integer;
    case kTagBoolean: return argument.boolean;
    case kTagString: {
      std::string digits = utf16ToUtf8(platformStringView(argument.string));
      std::int32_t value = 0;
      auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
      if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
      return value;
    }
    default: return std::nullopt;
  }
}

std::optional<std::string> textArgument(const PlatformVariant& argument) {
  switch (argument.tag) {
    case kTagString: return utf16ToUtf8(platformStringView(argument.string));
    case kTagInteger: return std::to_string(argument.integer);
    default: return std::nullopt;
  }
}

std::optional<bool> booleanArgument(const PlatformVariant& argument) {
  if (isOmitted(argument)) return false;
  std::optional<std::int32_t> value = integerArgument(argument);
  if (!value) return std::nullopt;
  return *value != 0;
}

// A request body: a text goes as UTF-8 (plain ASCII stays as it is), a byte array as its bytes.
std::optional<std::string> bodyArgument(const PlatformVariant& argument) {
  if (isOmitted(argument)) return std::string();
  if (argument.tag == kTagString) return utf16ToUtf8(platformStringView(argument.string));
  if (argument.tag != kTagByteArray || argument.array == nullptr) return std::nullopt;
  void* data = nullptr;
  std::int32_t lower = 0;
  std::int32_t upper = -1;
  if (safeArrayDimensions(argument.array) != 1 || !safeArrayLowerBound(argument.array, 1, &lower) ||
      !safeArrayUpperBound(argument.array, 1, &upper) || !safeArrayAccessData(argument.array, &data)) {
    return std::nullopt;
  }
  std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(std::int64_t{upper} - lower + 1));
  safeArrayUnaccessData(argument.array);
  return bytes;
}

bool isTokenCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool isToken(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), isTokenCharacter); }

// A header value may not break the request apart.
bool isSafeHeaderValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool isHttpUrl(const std::string& url) {
  const CurlLibrary* curl = useHttpLibrary();
  if (curl == nullptr) return false;
  CURLU* parsed = curl->url();
  bool usable = parsed != nullptr && curl->url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
  char* scheme = nullptr;
  usable = usable && curl->url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
           (std::strcmp(scheme, "http") == 0 || std::strcmp(scheme, "https") == 0);
  curl->free(scheme);
  curl->url_cleanup(parsed);
  return usable;
}

std::chrono::milliseconds asLimit(std::int32_t milliseconds) {
  return std::chrono::milliseconds(milliseconds == -1 ? 0 : milliseconds);
}

class HttpRequestObject final : public AutomationObject {
 public:
  const TypeInfo* typeInfo() const override { return &requestTypeInfo(); }

  bool invoke(std::int32_t memberId, MemberKind kind, std::span<PlatformVariant> reversed,
              PlatformVariant* result) override {
    std::vector<PlatformVariant> arguments(reversed.rbegin(), reversed.rend());
    switch (memberId) {
      case kSetTimeouts: return kind == MemberKind::method && setTimeouts(arguments);
      case kOpen: return kind == MemberKind::method && open(arguments);
      case kSetRequestHeader: return kind == MemberKind::method && setRequestHeader(arguments);
      case kSend: return kind == MemberKind::method && send(arguments);
      case kResponseBody: return kind == MemberKind::propertyGet && arguments.empty() && responseBody(result);
      default: return false;
    }
  }

 private:
  enum class State { created, opened, sent };

  bool setTimeouts(const std::vector<PlatformVariant>& arguments) {
    if (arguments.size() != 4) return false;
    std::array<std::int32_t, 4> limits{};
    for (std::size_t i = 0; i < 4; ++i) {
      std::optional<std::int32_t> value = integerArgument(arguments[i]);
      if (!value || *value < -1) return false;
      limits[i] = *value;
    }
    timeouts_ = {asLimit(limits[0]), asLimit(limits[1]), asLimit(limits[2]), asLimit(limits[3])};
    return true;
  }

  bool open(const std::vector<PlatformVariant>& arguments) {
    if (arguments.size() < 2) return false;
    std::optional<std::string> method = textArgument(arguments[0]);
    std::optional<std::string> url = textArgument(arguments[1]);
    std::optional<bool> async = arguments.size() > 2 ? booleanArgument(arguments[2]) : false;
    if (!method || !isToken(*method) || !url || !isHttpUrl(*url) || !async || *async) return false;
    request_ = {*method, *url, {}, {}};
    reply_.reset();
    state_ = State::opened;
    return true;
  }

  bool setRequestHeader(const std::vector<PlatformVariant>& arguments) {
    if (state_ != State::opened || arguments.size() != 2) return false;
    std::optional<std::string> name = textArgument(arguments[0]);
    std::optional<std::string> value = textArgument(arguments[1]);
    if (!name || !isToken(*name) || !value || !isSafeHeaderValue(*value)) return false;
    auto existing = std::find_if(request_.headers.begin(), request_.headers.end(), [&](const HttpHeader& header) {
      return strcasecmp(header.name.c_str(), name->c_str()) == 0;
    });
    if (existing != request_.headers.end()) {
      existing->value = *value;
    } else {
      request_.headers.push_back({*name, *value});
    }
    return true;
  }

  bool send(const std::vector<PlatformVariant>& arguments) {
    if (state_ != State::opened) return false;
    std::optional<std::string> body = arguments.empty() ? std::string() : bodyArgument(arguments[0]);
    if (!body) return false;
    request_.body = std::move(*body);
    state_ = State::sent;
    HttpReply reply = exchange_.perform(request_, timeouts_);
    if (!reply.completed()) return false;
    reply_ = std::move(reply.body);
    return true;
  }

  bool responseBody(PlatformVariant* result) {
    if (!reply_ || result == nullptr) return false;
    *result = byteArrayVariant(*reply_);
    return true;
  }

  // The Windows object's defaults: no resolve limit, 60 s to connect, 30 s each way.
  HttpTimeouts timeouts_{std::chrono::milliseconds(0), std::chrono::milliseconds(60000),
                         std::chrono::milliseconds(30000), std::chrono::milliseconds(30000)};
  State state_ = State::created;
  HttpRequestMessage request_;
  std::optional<std::string> reply_;
  HttpExchange exchange_;
};

}  // namespace

void registerHttpRequestClass() {
  registerClass(kHttpRequestProgrammaticId, kHttpRequestClassId, [] { return new HttpRequestObject(); });
}

}  // namespace quorvel
