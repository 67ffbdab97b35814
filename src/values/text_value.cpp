// Ownership of text blocks, and the one place where a text is made from raw bytes.
#include "values/text_value.h"

#include <cstring>
#include <utility>

#include "values/block_heap.h"

namespace quorvel {

TextValue& TextValue::operator=(TextValue&& other) noexcept {
  if (this != &other) {
    release();
    block_ = other.detach();
  }
  return *this;
}

TextValue TextValue::adopt(char* block) noexcept {
  TextValue value;
  value.block_ = block;
  return value;
}

void TextValue::release() noexcept {
  releaseBlock(block_);
  block_ = nullptr;
}

char* TextValue::detach() noexcept { return std::exchange(block_, nullptr); }

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
