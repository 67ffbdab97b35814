// The one place where a text is made from raw bytes.
#include "values/text_value.h"

#include <cstring>

#include "values/block_heap.h"

namespace quorvel {

TextValue textFromBytes(std::string_view bytes) {
  std::size_t length = bytes.find('\0');
  if (length == std::string_view::npos) length = bytes.size();
  if (length == 0) return {};
  auto* block = static_cast<char*>(allocateBlock(length + 1));
  std::memcpy(block, bytes.data(), length);
  block[length] = '\0';
  return TextValue::adopt(block);
}

}  // namespace quorvel
