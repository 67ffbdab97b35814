// Checks the whole extraction, from reply bytes to status text through the real window, against
// a plain reference cut written from the rule.
#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "query/program_holders.h"
#include "query/result_extraction.h"
#include "shell/life_cycle.h"
#include "shell/query_window.h"
#include "support/byte_array_variant.h"

namespace {

bool isHigh(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// The first occurrence of `sought` in `text` that begins on a character, scanning from 0.
long referenceFind(const std::string& text, const std::string& sought) {
  for (std::size_t at = 0; at + sought.size() <= text.size(); at += isHigh(text[at]) ? 2 : 1) {
    if (text.compare(at, sought.size(), sought) == 0) return static_cast<long>(at);
  }
  return -1;
}

// The rule: after the first "';'>" (or from the third byte without one), take 333 bytes;
// the result is what precedes the first "</font>" lying wholly in them.
std::string referenceResult(std::string page) {
  page = page.substr(0, page.find('\0'));
  long marker = referenceFind(page, "';'>");
  std::size_t start = marker < 0 ? 2 : static_cast<std::size_t>(marker) + 4;
  if (start >= page.size()) return "";
  std::string window = page.substr(start, 333);
  long end = referenceFind(window, "</font>");
  return end < 0 ? "" : window.substr(0, static_cast<std::size_t>(end));
}

quorvel::QueryWindow* window = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication application(*argc, *argv);
  window = new quorvel::QueryWindow(*quorvel::findWindowDefinition(quorvel::ids::QueryWindow),
                                    [](std::uint32_t, quorvel::WindowEvent) {});
  quorvel::initGlobals();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string page(reinterpret_cast<const char*>(bytes), size);
  quorvel::testing::fillWithByteArray(quorvel::ResponseVariant, page);

  quorvel::parkReplyInBuffer();
  quorvel::showResult(quorvel::extractResultLine());
  if (window->statusBar(quorvel::ids::状态条1)->partText(0) != referenceResult(page)) {
    std::fprintf(stderr, "mismatch: the status text is not the reference cut\n");
    std::abort();
  }
  return 0;
}
