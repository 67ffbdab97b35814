// The query exchange's calls on the request object, with its fixed time-outs and headers.
#include "query/query_exchange.h"

#include <optional>

#include "values/block_heap.h"

namespace quorvel {
namespace {

constexpr const char* kRequestProgrammaticId = "WinHttp.WinHttpRequest.5.1";
constexpr std::string_view kQueryPath = "/wzch/index.asp";
constexpr std::string_view kQueryParameters = "?Modid=013001&Add=01";

// Milliseconds for resolving the host, connecting, sending and receiving.
constexpr std::int32_t kResolveTimeout = 7000;
constexpr std::int32_t kConnectTimeout = 7000;
constexpr std::int32_t kSendTimeout = 10000;
constexpr std::int32_t kReceiveTimeout = 7000;

struct ConstantHeader {
  const char* name;
  const char* value;
};

// The headers after the Referer, in the order they are set.
constexpr ConstantHeader kConstantHeaders[] = {
    {"Content-Type", "application/x-www-form-urlencoded"},
    {"User-Agent",
     "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; Trident/4.0; SLCC2; .NET CLR 2.0.50727; "
     ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; TheWorld)"},
    {"Accept-Language", "ko"},
    {"Accept",
     "image/jpeg, application/x-ms-application, image/gif, application/xaml+xml, image/pjpeg, "
     "application/x-ms-xbap, application/x-silverlight, application/x-shockwave-flash, "
     "application/vnd.ms-excel, application/msword, */*"},
    {"Connection", "Keep-Alive"},
    {"Cache-Control", "no-cache"},
};

}  // namespace

QueryPage queryPageFor(std::string_view host) {
  std::string referer = "http://" + std::string(host) + std::string(kQueryPath);
  return {referer + std::string(kQueryParameters), referer};
}

const QueryPage& deployedQueryPage() {
  static const QueryPage page = queryPageFor(QUORVEL_QUERY_HOST);
  return page;
}

namespace {
// The page that queries go to when it is not the deployed one.
std::optional<QueryPage> chosenQueryPage;
}  // namespace

const QueryPage& currentQueryPage() { return chosenQueryPage ? *chosenQueryPage : deployedQueryPage(); }

void pointQueriesAt(std::string_view host) { chosenQueryPage = queryPageFor(host); }

void prepareQueryRequest(ComObject* requestObject, const QueryPage& page) {
  createObject(requestObject, kRequestProgrammaticId);
  callMethod(requestObject, "SetTimeouts", {kResolveTimeout, kConnectTimeout, kSendTimeout, kReceiveTimeout});
  callMethod(requestObject, "open", {"POST", page.address.c_str(), false});
  callMethod(requestObject, "setRequestHeader", {"Referer", page.referer.c_str()});
  for (const ConstantHeader& header : kConstantHeaders) {
    callMethod(requestObject, "setRequestHeader", {header.name, header.value});
  }
}

void sendQueryAndKeepReply(ComObject* requestObject, Variant** responseVariant, TextValue body) {
  callMethod(requestObject, "send", {orSharedEmptyText(body)});
  body.release();
  Variant* reply = callMethodVariant(requestObject, "responsebody");
  clearVariant(*responseVariant);
  releaseBlock(*responseVariant);
  *responseVariant = reply;
}

}  // namespace quorvel
