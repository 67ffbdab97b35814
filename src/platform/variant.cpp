// Platform strings, safe arrays and variant copying, clearing and conversion.
#include "platform/variant.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/fatal_stop.h"

namespace quorvel {

struct SafeArray {
  VariantTag elementTag;
  std::uint32_t elementSize;
  std::uint32_t lockCount = 0;
  std::vector<SafeArrayBound> bounds;
  std::vector<unsigned char> data;
};

namespace {

// The length of a platform string lives in the 4 bytes in front of its units.
constexpr std::size_t kStringHeaderSize = sizeof(std::uint32_t);

void* allocateOrStop(std::size_t byteCount) {
  void* memory = std::malloc(byteCount);
  if (memory == nullptr) {
    stopFatally("Out of memory: a platform string of " + std::to_string(byteCount) + " bytes could not be allocated.");
  }
  return memory;
}

std::uint32_t elementSizeOf(VariantTag elementTag) {
  switch (elementTag) {
    case kTagSignedByte:
    case kTagUnsignedByte: return 1;
    case kTagBoolean: return 2;
    case kTagInteger: return 4;
    default: return 0;
  }
}

SafeArray* copySafeArray(const SafeArray* source) { return new SafeArray(*source); }

// The value a by-reference variant points at, as a variant of the base type that shares
// (does not own) what it refers to.
bool dereference(const PlatformVariant* source, PlatformVariant* value) {
  *value = PlatformVariant{};
  if (source->reference == nullptr) return false;
  VariantTag base = source->tag & ~kTagByReference;
  if (base == kTagVariant) {
    *value = *static_cast<const PlatformVariant*>(source->reference);
    return (value->tag & kTagByReference) == 0;  // a reference to a reference is not followed
  }
  value->tag = base;
  if (base & kTagArray) {
    value->array = *static_cast<SafeArray* const*>(source->reference);
  } else if (base == kTagString) {
    value->string = *static_cast<const PlatformString*>(source->reference);
  } else if (base == kTagInteger || base == kTagError) {
    value->integer = *static_cast<const std::int32_t*>(source->reference);
  } else if (base == kTagBoolean) {
    value->boolean = *static_cast<const std::int16_t*>(source->reference);
  } else {
    return false;
  }
  return true;
}

// The variant itself, or the value it refers to: shared, not copied.
bool followReference(const PlatformVariant* source, PlatformVariant* value) {
  if (source->tag & kTagByReference) return dereference(source, value);
  *value = *source;
  return true;
}

}  // namespace

PlatformString allocatePlatformString(std::u16string_view text) {
  auto length = static_cast<std::uint32_t>(text.size() * sizeof(char16_t));
  auto* memory = static_cast<unsigned char*>(allocateOrStop(kStringHeaderSize + length + sizeof(char16_t)));
  std::memcpy(memory, &length, sizeof length);
  auto* units = reinterpret_cast<char16_t*>(memory + kStringHeaderSize);
  if (!text.empty()) std::memcpy(units, text.data(), length);
  units[text.size()] = u'\0';
  return units;
}

void freePlatformString(PlatformString string) noexcept {
  if (string != nullptr) std::free(reinterpret_cast<unsigned char*>(string) - kStringHeaderSize);
}

std::u16string_view platformStringView(PlatformString string) {
  if (string == nullptr) return {};
  std::uint32_t length;
  std::memcpy(&length, reinterpret_cast<const unsigned char*>(string) - kStringHeaderSize, sizeof length);
  return {string, length / sizeof(char16_t)};
}

SafeArray* createSafeArray(VariantTag elementTag, std::span<const SafeArrayBound> bounds) {
  std::uint32_t elementSize = elementSizeOf(elementTag);
  if (elementSize == 0 || bounds.empty()) return nullptr;
  std::size_t elementCount = 1;
  for (const SafeArrayBound& bound : bounds) elementCount *= bound.elementCount;
  auto* array = new SafeArray{elementTag, elementSize, 0, {bounds.begin(), bounds.end()}, {}};
  array->data.resize(elementCount * elementSize);
  return array;
}

bool destroySafeArray(SafeArray* array) noexcept {
  if (array == nullptr) return true;
  if (array->lockCount != 0) return false;
  delete array;
  return true;
}

VariantTag safeArrayElementTag(const SafeArray* array) { return array->elementTag; }

std::uint32_t safeArrayDimensions(const SafeArray* array) { return static_cast<std::uint32_t>(array->bounds.size()); }

bool safeArrayLowerBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound) {
  if (dimension < 1 || dimension > array->bounds.size()) return false;
  *bound = array->bounds[dimension - 1].lowerBound;
  return true;
}

bool safeArrayUpperBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound) {
  if (dimension < 1 || dimension > array->bounds.size()) return false;
  const SafeArrayBound& b = array->bounds[dimension - 1];
  *bound = static_cast<std::int32_t>(static_cast<std::int64_t>(b.lowerBound) + b.elementCount - 1);
  return true;
}

bool safeArrayAccessData(SafeArray* array, void** data) {
  ++array->lockCount;
  *data = array->data.data();
  return true;
}

bool safeArrayUnaccessData(SafeArray* array) {
  if (array->lockCount == 0) return false;
  --array->lockCount;
  return true;
}

std::uint32_t safeArrayLockCount(const SafeArray* array) { return array->lockCount; }

bool clearPlatformVariant(PlatformVariant* variant) noexcept {
  if ((variant->tag & kTagByReference) == 0) {
    if (variant->tag & kTagArray) {
      if (!destroySafeArray(variant->array)) return false;
    } else if (variant->tag == kTagString) {
      freePlatformString(variant->string);
    }
  }
  *variant = PlatformVariant{};
  return true;
}

bool copyPlatformVariantFollowingReferences(PlatformVariant* target, const PlatformVariant* source) {
  PlatformVariant value;
  if (!followReference(source, &value)) return false;
  *target = value;
  if (value.tag & kTagArray) {
    target->array = value.array == nullptr ? nullptr : copySafeArray(value.array);
  } else if (value.tag == kTagString) {
    target->string = value.string == nullptr ? nullptr : allocatePlatformString(platformStringView(value.string));
  }
  return true;
}

PlatformVariant byteArrayVariant(std::string_view bytes) {
  const SafeArrayBound bound{static_cast<std::uint32_t>(bytes.size()), 0};
  PlatformVariant variant{};
  variant.tag = kTagByteArray;
  variant.array = createSafeArray(kTagUnsignedByte, {&bound, 1});
  if (!bytes.empty()) std::memcpy(variant.array->data.data(), bytes.data(), bytes.size());
  return variant;
}

bool changePlatformVariantToByteArray(PlatformVariant* target, const PlatformVariant* source) {
  PlatformVariant value;
  if (!followReference(source, &value)) return false;
  if (value.tag == kTagByteArray) return copyPlatformVariantFollowingReferences(target, &value);
  if (value.tag != kTagString) return false;
  std::u16string_view units = platformStringView(value.string);
  *target = byteArrayVariant({reinterpret_cast<const char*>(units.data()), units.size() * sizeof(char16_t)});
  return true;
}

}  // namespace quorvel
