// Checks variantToBytes over arrays of every shape: bytes in storage order for byte arrays
// with elements, nothing for anything else, and the array left unlocked and unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "values/automation.h"

namespace {

void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

constexpr quorvel::VariantTag kElementTags[] = {quorvel::kTagUnsignedByte, quorvel::kTagSignedByte,
                                                quorvel::kTagInteger, quorvel::kTagBoolean};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const quorvel::VariantTag element = data.PickValueInArray(kElementTags);
  const bool byReference = data.ConsumeBool();
  std::vector<quorvel::SafeArrayBound> bounds(data.ConsumeIntegralInRange<std::size_t>(1, 3));
  std::size_t count = 1;
  for (auto& bound : bounds) {
    bound = {data.ConsumeIntegralInRange<std::uint32_t>(0, 6), data.ConsumeIntegral<std::int16_t>()};
    count *= bound.elementCount;
  }
  quorvel::SafeArray* array = quorvel::createSafeArray(element, bounds);
  void* storage = nullptr;
  quorvel::safeArrayAccessData(array, &storage);
  const std::size_t elementSize = element == quorvel::kTagInteger ? 4 : element == quorvel::kTagBoolean ? 2 : 1;
  const std::string content = data.ConsumeBytesAsString(count * elementSize);
  if (!content.empty()) std::memcpy(storage, content.data(), content.size());
  std::string stored(static_cast<const char*>(storage), count * elementSize);
  quorvel::safeArrayUnaccessData(array);

  quorvel::Variant variant{};
  variant.tag = quorvel::kTagArray | element;
  variant.array = array;
  quorvel::Variant reference{};
  reference.tag = quorvel::kTagByReference | quorvel::kTagArray | element;
  reference.reference = &array;

  quorvel::ByteSet result = quorvel::variantToBytes(byReference ? &reference : &variant);
  const bool byteElements = element == quorvel::kTagUnsignedByte || element == quorvel::kTagSignedByte;
  if (byteElements && count > 0) {
    check(!result.isMissing() && result.bytes() == stored, "a byte array gives its bytes in storage order");
    check(quorvel::ByteSetRef(result).dimensionCount() == 1, "a byte set has one dimension");
  } else {
    check(result.isMissing(), "other arrays and empty ones give nothing");
  }
  check(quorvel::safeArrayLockCount(array) == 0, "the array is unlocked again");
  quorvel::clearVariant(&variant);
  return 0;
}
