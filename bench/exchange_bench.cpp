// One query exchange through the request object, beside a bare libcurl POST of the same bytes.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstring>
#include <string>

#include "query/query_body.h"
#include "query/query_exchange.h"
#include "support/query_service_process.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

const char* const kPlate = "\xBC\xAA" "H12345";

testing::QueryServiceProcess& service() {
  static testing::QueryServiceProcess process(QUORVEL_QUERY_SERVICE);
  return process;
}

void BM_ExchangeThroughRequestObject(benchmark::State& state) {
  startObjectSystem();
  const QueryPage page = queryPageFor(service().hostAndPort());
  ComObject requestObject{nullptr, nullptr};
  auto* responseVariant = static_cast<Variant*>(allocateBlock(sizeof(Variant)));
  std::memset(responseVariant, 0, sizeof(Variant));
  for (auto _ : state) {
    prepareQueryRequest(&requestObject, page);
    sendQueryAndKeepReply(&requestObject, &responseVariant, composeQueryBody(kPlate, "1234"));
    benchmark::DoNotOptimize(responseVariant->array);
  }
  if (responseVariant->tag != kTagByteArray) state.SkipWithError("the exchange failed");
  clearObject(&requestObject);
  clearVariant(responseVariant);
  releaseBlock(responseVariant);
  stopObjectSystem();
}
BENCHMARK(BM_ExchangeThroughRequestObject)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

std::size_t keepBody(char* bytes, std::size_t size, std::size_t count, void* body) {
  static_cast<std::string*>(body)->append(bytes, size * count);
  return size * count;
}

void BM_BareLibcurlPost(benchmark::State& state) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const QueryPage page = queryPageFor(service().hostAndPort());
  TextValue body = composeQueryBody(kPlate, "1234");
  const std::string headers[] = {
      "Referer: " + page.referer,
      "Content-Type: application/x-www-form-urlencoded",
      "User-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; Trident/4.0; SLCC2; .NET CLR 2.0.50727; "
      ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; TheWorld)",
      "Accept-Language: ko",
      "Accept: image/jpeg, application/x-ms-application, image/gif, application/xaml+xml, image/pjpeg, "
      "application/x-ms-xbap, application/x-silverlight, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/msword, */*",
      "Connection: Keep-Alive",
      "Cache-Control: no-cache",
      "Expect:",
  };
  bool failed = false;
  for (auto _ : state) {
    CURL* easy = curl_easy_init();
    curl_slist* list = nullptr;
    for (const std::string& header : headers) list = curl_slist_append(list, header.c_str());
    std::string reply;
    curl_easy_setopt(easy, CURLOPT_URL, page.address.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.bytes());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.length()));
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply);
    failed |= curl_easy_perform(easy) != CURLE_OK;
    curl_slist_free_all(list);
    curl_easy_cleanup(easy);
    benchmark::DoNotOptimize(reply.data());
  }
  if (failed) state.SkipWithError("the POST failed");
  curl_global_cleanup();
}
BENCHMARK(BM_BareLibcurlPost)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace quorvel
