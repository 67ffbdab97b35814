// The text operations, byte for byte as the query logic relies on them.
#include "values/text_operations.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "values/block_heap.h"

namespace quorvel {
namespace {

bool beginsDoubleByteCharacter(unsigned char byte) { return byte >= 0x80; }

bool isLowerCaseLetter(unsigned char byte) { return byte >= 'a' && byte <= 'z'; }

unsigned char foldCase(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

bool bytesMatch(std::string_view candidate, std::string_view sought, bool ignoreCase) {
  if (!ignoreCase) return candidate == sought;
  return std::equal(candidate.begin(), candidate.end(), sought.begin(), [](char a, char b) {
    return foldCase(static_cast<unsigned char>(a)) == foldCase(static_cast<unsigned char>(b));
  });
}

}  // namespace

TextValue concatTexts(std::initializer_list<TextRef> texts) {
  std::size_t total = 0;
  for (TextRef text : texts) total += text.length();
  auto* block = static_cast<char*>(allocateBlock(total + 1));
  char* end = block;
  for (TextRef text : texts) {
    std::string_view bytes = text.view();
    if (!bytes.empty()) end = static_cast<char*>(std::memcpy(end, bytes.data(), bytes.size())) + bytes.size();
  }
  *end = '\0';
  return TextValue::adopt(block);
}

TextValue upperCaseText(TextRef text) {
  std::string_view source = text.view();
  if (source.empty()) return {};
  auto* block = static_cast<char*>(allocateBlock(source.size() + 1));
  std::memcpy(block, source.data(), source.size() + 1);
  auto* bytes = reinterpret_cast<unsigned char*>(block);
  for (std::size_t i = 0; bytes[i] != '\0';) {
    if (isLowerCaseLetter(bytes[i])) {
      bytes[i] = static_cast<unsigned char>(bytes[i] - ('a' - 'A'));
      i += 1;
    } else if (beginsDoubleByteCharacter(bytes[i])) {
      if (bytes[i + 1] == '\0') break;
      i += 2;
    } else {
      i += 1;
    }
  }
  return TextValue::adopt(block);
}

TextValue midText(TextRef text, std::int32_t start, std::int32_t count) {
  std::string_view bytes = text.view();
  if (start < 1 || static_cast<std::size_t>(start - 1) >= bytes.size() || count <= 0) return {};
  return textFromBytes(bytes.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

TextValue leftText(TextRef text, std::int32_t count) {
  if (count <= 0) return {};
  return textFromBytes(text.view().substr(0, static_cast<std::size_t>(count)));
}

std::int32_t findText(TextRef text, TextRef sought, std::int32_t start, bool ignoreCase) {
  std::string_view haystack = text.view();
  std::string_view needle = sought.view();
  std::size_t first = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (needle.empty()) return first < haystack.size() ? 1 : -1;
  // Positions are 32-bit; a match further on than that could not be reported.
  constexpr auto kLastReportable = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  // The next place where the bytes match, character boundary or not.
  auto nextMatch = [&](std::size_t from) {
    if (!ignoreCase) return haystack.find(needle, from);
    for (std::size_t at = from; at + needle.size() <= haystack.size(); ++at) {
      if (bytesMatch(haystack.substr(at, needle.size()), needle, true)) return at;
    }
    return std::string_view::npos;
  };
  // Character starts are stepped through up to each byte match: a match counts only where a
  // character starts, as counted from the start of the range.
  std::size_t character = first;
  for (std::size_t match = nextMatch(first); match != std::string_view::npos && match < kLastReportable;) {
    while (character < match) {
      if (beginsDoubleByteCharacter(static_cast<unsigned char>(haystack[character]))) {
        if (character + 1 == haystack.size()) return -1;
        character += 2;
      } else {
        character += 1;
      }
    }
    if (character == match) return static_cast<std::int32_t>(match + 1);
    match = nextMatch(character);  // the match began on a second byte: look on from the next character
  }
  return -1;
}

TextValue bytesToText(ByteSetRef bytes) { return textFromBytes(bytes.bytes()); }

std::int64_t truncateToInteger(double value) {
  // The conversion below always truncates, whatever the rounding mode: it never reads or
  // changes the floating-point environment. Only its out-of-range cases need guarding.
  constexpr double kTwoToThe63 = 9223372036854775808.0;
  if (std::isnan(value)) return 0;
  if (value >= kTwoToThe63) return std::numeric_limits<std::int64_t>::max();
  if (value < -kTwoToThe63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

}  // namespace quorvel
