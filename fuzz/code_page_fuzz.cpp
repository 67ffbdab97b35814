// Checks the GBK conversions: valid GBK decodes and encodes back to the same bytes, and no
// input, valid or not, makes either conversion fail or lose count of the bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/code_page.h"

namespace {

void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string gbk(reinterpret_cast<const char*>(bytes), size);
  const std::u16string text = quorvel::gbkToUtf16(gbk);
  check(text.size() <= gbk.size(), "every character takes at least one byte");
  if (text.find(u'\uFFFD') == std::u16string::npos) {
    check(quorvel::utf16ToGbk(text) == gbk, "valid GBK survives a round trip");
  }
  // Any UTF-16 at all encodes without failing, one '?' at most per unit that GBK cannot hold.
  const std::u16string units(reinterpret_cast<const char16_t*>(bytes), size / 2);
  check(quorvel::utf16ToGbk(units).size() <= units.size() * 2, "a unit encodes into two bytes at most");
  return 0;
}
