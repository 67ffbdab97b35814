// Text operations on a page-sized text, beside the plain C library doing the same work.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "query/query_body.h"
#include "values/text_operations.h"

namespace quorvel {
namespace {

// A 1 MiB page of mixed ASCII and GBK with the opening marker near its end.
std::string pageWithMarkerNearEnd() {
  std::string page;
  while (page.size() < (1u << 20) - 64) page += "<td>\xBC\xAA\xC1\xD6 H12345 \xCE\xA5\xD5\xC2</td>";
  page += "';'>No record</font>";
  return page;
}

void BM_FindTextOnPage(benchmark::State& state) {
  TextValue page = textFromBytes(pageWithMarkerNearEnd());
  for (auto _ : state) benchmark::DoNotOptimize(findText(page, "';'>", 1, false));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.length()));
}
BENCHMARK(BM_FindTextOnPage);

void BM_MemmemOnPage(benchmark::State& state) {
  std::string page = pageWithMarkerNearEnd();
  for (auto _ : state) benchmark::DoNotOptimize(memmem(page.data(), page.size(), "';'>", 4));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_MemmemOnPage);

void BM_ComposeQueryBody(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(composeQueryBody("\xBC\xAAH12345", "1234"));
}
BENCHMARK(BM_ComposeQueryBody);

}  // namespace
}  // namespace quorvel
