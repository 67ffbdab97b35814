// TextValue and TextRef: the program's texts, GBK byte strings ended by one zero byte.
//
// Contract:
// - A text is a block from the block heap holding its bytes and one terminating zero byte;
//   it cannot contain a zero byte, and its length is the number of bytes before the zero.
// - A missing text (nullptr) and a text of length 0 are the same value, the empty text.
// - `TextValue` owns its block (see OwnedBlock): released when it goes out of scope, or
//   earlier at `release()`.
// - `TextRef` is a borrowed view of a text owned elsewhere: a `TextValue`, a constant, or
//   the shared empty text. It never owns or releases anything.
#pragma once

#include <cstddef>
#include <string_view>

#include "values/owned_block.h"

namespace quorvel {

class TextValue;

// A borrowed text: a pointer to zero-terminated GBK bytes, or nullptr for a missing text.
class TextRef {
 public:
  constexpr TextRef() = default;
  constexpr TextRef(std::nullptr_t) {}
  constexpr TextRef(const char* zeroTerminated) : bytes_(zeroTerminated) {}
  TextRef(const TextValue& value);
  // A temporary's block would be gone before the reference is used.
  TextRef(TextValue&&) = delete;

  const char* bytes() const { return bytes_; }
  bool isMissing() const { return bytes_ == nullptr; }
  std::string_view view() const { return bytes_ == nullptr ? std::string_view() : std::string_view(bytes_); }
  std::size_t length() const { return view().size(); }

 private:
  const char* bytes_ = nullptr;
};

// The one shared constant empty text, passed in place of a missing text; never released.
inline constexpr TextRef sharedEmptyText{""};

// The text itself, or the shared empty text in place of a missing one.
inline TextRef orSharedEmptyText(TextRef text) { return text.isMissing() ? sharedEmptyText : text; }

// An owned text: holds one block from the block heap, or nothing (the missing text).
class TextValue : public OwnedBlock<char*> {
 public:
  TextValue() = default;

  // Takes ownership of a block from `allocateBlock` that holds a zero-terminated text.
  static TextValue adopt(char* block) noexcept { return TextValue(block); }

  const char* bytes() const { return block(); }
  std::string_view view() const { return TextRef(*this).view(); }
  std::size_t length() const { return view().size(); }

 private:
  explicit TextValue(char* block) noexcept : OwnedBlock(block) {}
};

inline TextRef::TextRef(const TextValue& value) : bytes_(value.bytes()) {}

// A new text of `bytes` up to their first zero byte; missing when that leaves nothing.
TextValue textFromBytes(std::string_view bytes);

}  // namespace quorvel
