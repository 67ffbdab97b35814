// A plain decoder of application/x-www-form-urlencoded bodies, for checking what a body carries.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::testing {

using FormField = std::pair<std::string, std::string>;

inline std::optional<int> hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

// Decodes one name or value: "+" is a space, "%XX" a byte. A broken escape gives nullopt.
inline std::optional<std::string> formDecode(std::string_view encoded) {
  std::string decoded;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '+') {
      decoded += ' ';
    } else if (encoded[i] == '%') {
      if (i + 2 >= encoded.size()) return std::nullopt;
      auto high = hexDigitValue(encoded[i + 1]);
      auto low = hexDigitValue(encoded[i + 2]);
      if (!high || !low) return std::nullopt;
      decoded += static_cast<char>(*high * 16 + *low);
      i += 2;
    } else {
      decoded += encoded[i];
    }
  }
  return decoded;
}

// Splits a body at '&' and each field at its first '=', decoding both sides.
inline std::optional<std::vector<FormField>> decodeForm(std::string_view body) {
  std::vector<FormField> fields;
  while (true) {
    std::size_t end = body.find('&');
    std::string_view field = body.substr(0, end);
    std::size_t equals = field.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    auto name = formDecode(field.substr(0, equals));
    auto value = formDecode(field.substr(equals + 1));
    if (!name || !value) return std::nullopt;
    fields.emplace_back(std::move(*name), std::move(*value));
    if (end == std::string_view::npos) return fields;
    body.remove_prefix(end + 1);
  }
}

}  // namespace quorvel::testing
