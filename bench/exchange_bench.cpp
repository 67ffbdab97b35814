// One query exchange through the request object, beside a bare libcurl POST of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "bare_post.h"
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

void BM_BareLibcurlPost(benchmark::State& state) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const QueryPage page = queryPageFor(service().hostAndPort());
  const std::string body(composeQueryBody(kPlate, "1234").view());
  bool failed = false;
  for (auto _ : state) failed |= !bench::barePost(page, body);
  if (failed) state.SkipWithError("the POST failed");
  curl_global_cleanup();
}
BENCHMARK(BM_BareLibcurlPost)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace quorvel
