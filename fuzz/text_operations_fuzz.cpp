// Checks findText, upperCaseText, midText and leftText against plain reference code.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "values/text_operations.h"

namespace {

using quorvel::TextValue;

// A text cannot hold a zero byte: what a fuzzed string holds is its bytes up to the first zero.
std::string asText(std::string bytes) { return bytes.substr(0, bytes.find('\0')); }

void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

std::string contentOf(const TextValue& text) { return std::string(text.view()); }

bool isHigh(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Where characters begin, scanning forward from `first` by the double-byte rule.
std::vector<std::size_t> characterStarts(const std::string& text, std::size_t first) {
  std::vector<std::size_t> starts;
  for (std::size_t i = first; i < text.size(); i += isHigh(text[i]) ? 2 : 1) starts.push_back(i);
  return starts;
}

char lowerAscii(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte; }

std::int32_t referenceFind(const std::string& text, const std::string& sought, std::int32_t start, bool ignoreCase) {
  std::size_t first = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (sought.empty()) return first < text.size() ? 1 : -1;
  for (std::size_t at : characterStarts(text, first)) {
    if (text.size() - at < sought.size()) break;
    bool same = true;
    for (std::size_t k = 0; k < sought.size() && same; ++k) {
      same = ignoreCase ? lowerAscii(text[at + k]) == lowerAscii(sought[k]) : text[at + k] == sought[k];
    }
    if (same) return static_cast<std::int32_t>(at + 1);
  }
  return -1;
}

std::string referenceUpperCase(const std::string& text) {
  std::string upper = text;
  bool secondByte = false;
  for (char& byte : upper) {
    if (secondByte) {
      secondByte = false;
    } else if (isHigh(byte)) {
      secondByte = true;
    } else if (byte >= 'a' && byte <= 'z') {
      byte = static_cast<char>(byte - 'a' + 'A');
    }
  }
  return upper;
}

std::string referenceMid(const std::string& text, std::int64_t start, std::int64_t count) {
  if (start < 1 || start > static_cast<std::int64_t>(text.size()) || count < 1) return "";
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

std::int32_t smallOrExtreme(FuzzedDataProvider& data) {
  // Mostly positions near the text, sometimes the 32-bit extremes.
  return data.ConsumeBool() ? data.ConsumeIntegralInRange<std::int32_t>(-3, 40) : data.ConsumeIntegral<std::int32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::int32_t start = smallOrExtreme(data);
  const std::int32_t count = smallOrExtreme(data);
  const bool ignoreCase = data.ConsumeBool();
  const std::string sought = asText(data.ConsumeRandomLengthString(8));
  const std::string text = asText(data.ConsumeRemainingBytesAsString());

  check(quorvel::findText(text.c_str(), sought.c_str(), start, ignoreCase) ==
            referenceFind(text, sought, start, ignoreCase),
        "findText");

  TextValue upper = quorvel::upperCaseText(text.c_str());
  check(upper.isMissing() == text.empty() && contentOf(upper) == referenceUpperCase(text), "upperCaseText");

  TextValue mid = quorvel::midText(text.c_str(), start, count);
  std::string expectedMid = referenceMid(text, start, count);
  check(mid.isMissing() == expectedMid.empty() && contentOf(mid) == expectedMid, "midText");

  TextValue left = quorvel::leftText(text.c_str(), count);
  std::string expectedLeft = referenceMid(text, 1, count);
  check(left.isMissing() == expectedLeft.empty() && contentOf(left) == expectedLeft, "leftText");
  return 0;
}
