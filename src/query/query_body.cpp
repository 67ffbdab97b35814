// Composition of the form body, with each user field form-encoded.
#include "query/query_body.h"

#include <cstdint>
#include <cstring>

#include "values/block_heap.h"
#include "values/text_operations.h"

namespace quorvel {
namespace {

constexpr std::string_view kFormHead = "hpzl=02&hphm=%BC%AA";
constexpr std::string_view kCodeField = "&FDJH=";
constexpr std::string_view kFormTail = "&Submit.x=50&Submit.y=9";
// Where the plate tail begins in the plate text, and how many bytes it takes at most.
constexpr std::int32_t kPlateTailStart = 3;
constexpr std::int32_t kPlateTailMaxLength = 444;

bool goesAsItIs(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
         byte == '*' || byte == '-' || byte == '.' || byte == '_';
}

std::size_t formEncodedLength(std::string_view field) {
  std::size_t length = 0;
  for (unsigned char byte : field) length += goesAsItIs(byte) || byte == ' ' ? 1 : 3;
  return length;
}

// Writes the field form-encoded at `out`; returns the end of what it wrote.
char* writeFormEncoded(char* out, std::string_view field) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (unsigned char byte : field) {
    if (goesAsItIs(byte)) {
      *out++ = static_cast<char>(byte);
    } else if (byte == ' ') {
      *out++ = '+';
    } else {
      *out++ = '%';
      *out++ = kHexDigits[byte >> 4];
      *out++ = kHexDigits[byte & 0x0F];
    }
  }
  return out;
}

char* writeAsItIs(char* out, std::string_view piece) {
  std::memcpy(out, piece.data(), piece.size());
  return out + piece.size();
}

}  // namespace

TextValue composeQueryBody(TextRef plate, TextRef code) {
  // The first two bytes, meant to be the province character, are dropped whatever they are.
  TextValue plateTail = midText(orSharedEmptyText(plate), kPlateTailStart, kPlateTailMaxLength);
  std::string_view tail = plateTail.view();
  std::string_view codeBytes = code.view();

  std::size_t length = kFormHead.size() + formEncodedLength(tail) + kCodeField.size() +
                       formEncodedLength(codeBytes) + kFormTail.size();
  auto* block = static_cast<char*>(allocateBlock(length + 1));
  char* end = writeAsItIs(block, kFormHead);
  end = writeFormEncoded(end, tail);
  end = writeAsItIs(end, kCodeField);
  end = writeFormEncoded(end, codeBytes);
  end = writeAsItIs(end, kFormTail);
  *end = '\0';

  plateTail.release();
  return TextValue::adopt(block);
}

}  // namespace quorvel
