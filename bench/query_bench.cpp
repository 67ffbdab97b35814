// One whole click on the offscreen window, the extraction of a 1 MiB page, and the memory a
// run of queries keeps, each beside its plain baseline.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <QApplication>
#include <QPushButton>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bare_post.h"
#include "query/program_holders.h"
#include "query/query_action.h"
#include "query/query_body.h"
#include "query/result_extraction.h"
#include "shell/control_access.h"
#include "shell/life_cycle.h"
#include "support/byte_array_variant.h"
#include "support/query_service_process.h"

namespace quorvel {
namespace {

testing::QueryServiceProcess& service() {
  static testing::QueryServiceProcess process(QUORVEL_QUERY_SERVICE);
  return process;
}

// The window with the program's bindings: a click runs onQueryClicked.
QueryWindow& window() {
  static QueryWindow* const made = [] {
    auto* window = new QueryWindow(*findWindowDefinition(ids::QueryWindow), [](std::uint32_t source, WindowEvent event) {
      if (source == ids::按钮1 && event == WindowEvent::clicked) onQueryClicked();
    });
    window->showAndActivate();
    return window;
  }();
  return *made;
}

void fillSampleQuery() {
  writeControlText(ids::QueryWindow, ids::编辑框1, "\xBC\xAA" "H12345");
  writeControlText(ids::QueryWindow, ids::编辑框2, "1234");
}

void BM_WholeClick(benchmark::State& state) {
  pointQueriesAt(service().hostAndPort());
  fillSampleQuery();
  auto* button = qobject_cast<QPushButton*>(window().control(ids::按钮1));
  for (auto _ : state) button->click();
  if (window().statusBar(ids::状态条1)->partText(0).empty()) state.SkipWithError("no result was shown");
}
BENCHMARK(BM_WholeClick)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_BareLibcurlPostOfTheSameBytes(benchmark::State& state) {
  const QueryPage page = queryPageFor(service().hostAndPort());
  const std::string body(composeQueryBody("\xBC\xAA" "H12345", "1234").view());
  bool failed = false;
  for (auto _ : state) failed |= !bench::barePost(page, body);
  if (failed) state.SkipWithError("the POST failed");
}
BENCHMARK(BM_BareLibcurlPostOfTheSameBytes)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A 1 MiB page of mixed ASCII and GBK with the result near its end.
std::string bigPage() {
  std::string page;
  while (page.size() < (1u << 20) - 64) page += "<td>\xBC\xAA\xC1\xD6 H12345 \xCE\xA5\xD5\xC2</td>";
  return page + "';'>No record</font>";
}

void BM_ExtractionOfA1MiBPage(benchmark::State& state) {
  window();
  testing::fillWithByteArray(ResponseVariant, bigPage());
  parkReplyInBuffer();  // the first layout of the page loads fonts and glyphs: not what is measured
  for (auto _ : state) {
    parkReplyInBuffer();
    showResult(extractResultLine());
  }
  if (window().statusBar(ids::状态条1)->partText(0) != "No record") state.SkipWithError("wrong result");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_ExtractionOfA1MiBPage)->Unit(benchmark::kMillisecond);

void BM_OneMemmemPassOverTheSamePage(benchmark::State& state) {
  const std::string page = bigPage();
  for (auto _ : state) benchmark::DoNotOptimize(memmem(page.data(), page.size(), "';'>", 4));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_OneMemmemPassOverTheSamePage)->Unit(benchmark::kMillisecond);

long residentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// Resident memory after 1,000 queries minus after the first 10: what a long session keeps.
void BM_ResidentGrowthOver1000Queries(benchmark::State& state) {
  pointQueriesAt(service().hostAndPort());
  fillSampleQuery();
  auto* button = qobject_cast<QPushButton*>(window().control(ids::按钮1));
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) button->click();
    const long afterTen = residentKiB();
    for (int i = 10; i < 1000; ++i) button->click();
    state.counters["growth_KiB"] = static_cast<double>(residentKiB() - afterTen);
  }
}
BENCHMARK(BM_ResidentGrowthOver1000Queries)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  quorvel::startObjectSystem();
  quorvel::initGlobals();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  quorvel::releaseGlobals();
  quorvel::stopObjectSystem();
  return 0;
}
