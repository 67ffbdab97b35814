// Puts bytes into a Variant as an array of unsigned bytes, the way the request object gives a reply.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "values/automation.h"

namespace quorvel::testing {

// Clears `variant` and makes it a one-dimensional byte array holding `bytes`.
inline void fillWithByteArray(Variant* variant, std::string_view bytes) {
  clearVariant(variant);
  const SafeArrayBound bound{static_cast<std::uint32_t>(bytes.size()), 0};
  variant->tag = kTagByteArray;
  variant->array = createSafeArray(kTagUnsignedByte, {&bound, 1});
  void* data = nullptr;
  safeArrayAccessData(variant->array, &data);
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  safeArrayUnaccessData(variant->array);
}

}  // namespace quorvel::testing
