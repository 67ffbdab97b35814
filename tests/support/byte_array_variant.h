// Puts bytes into a Variant as an array of unsigned bytes, the way the request object gives a reply.
#pragma once

#include <string_view>

#include "values/automation.h"

namespace quorvel::testing {

// Clears `variant` and makes it a one-dimensional byte array holding `bytes`.
inline void fillWithByteArray(Variant* variant, std::string_view bytes) {
  clearVariant(variant);
  *variant = byteArrayVariant(bytes);
}

}  // namespace quorvel::testing
