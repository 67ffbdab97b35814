// Reading a TextValue in a test: its bytes, or nullopt when the text is missing.
#pragma once

#include <optional>
#include <string>

#include "values/text_value.h"

namespace quorvel::testing {

inline constexpr std::optional<std::string> kMissing = std::nullopt;

inline std::optional<std::string> contentOf(const TextValue& text) {
  if (text.isMissing()) return std::nullopt;
  return std::string(text.view());
}

// A borrowed text of `bytes`, or the missing text for nullopt.
inline TextRef refTo(const std::optional<std::string>& bytes) {
  return bytes ? TextRef(bytes->c_str()) : TextRef();
}

}  // namespace quorvel::testing
