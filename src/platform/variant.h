// The platform's automation values: the 16-byte variant, platform strings and safe arrays.
//
// These are what late-bound calls pass around. A variant is a 16-bit type tag, three
// reserved 16-bit words and an 8-byte payload; an all-zero variant is empty. Whoever holds a
// variant owns what it refers to (a string, an array), unless it holds it by reference.
// A platform string is a run of UTF-16 units with its length kept in front of them and a
// zero unit after them; the null string (nullptr) is a valid, empty value.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quorvel {

using VariantTag = std::uint16_t;

inline constexpr VariantTag kTagEmpty = 0;
inline constexpr VariantTag kTagInteger = 3;        // 32-bit signed integer
inline constexpr VariantTag kTagString = 8;         // platform string
inline constexpr VariantTag kTagError = 10;         // a status code; marks an omitted argument
inline constexpr VariantTag kTagBoolean = 11;       // 16 bits: -1 true, 0 false
inline constexpr VariantTag kTagVariant = 12;       // only by reference: another variant
inline constexpr VariantTag kTagSignedByte = 16;
inline constexpr VariantTag kTagUnsignedByte = 17;
inline constexpr VariantTag kTagRecord = 36;        // a user-defined record; never accepted as a result
inline constexpr VariantTag kTagArray = 0x2000;     // flag: a safe array of the base type
inline constexpr VariantTag kTagByReference = 0x4000;  // flag: the payload points at the value
inline constexpr VariantTag kTagByteArray = kTagArray | kTagUnsignedByte;
inline constexpr VariantTag kTagBaseTypeMask = 0x0FFF;

inline constexpr std::int16_t kVariantTrue = -1;
inline constexpr std::int16_t kVariantFalse = 0;
// The status an omitted argument carries (the platform's "parameter not found").
inline constexpr std::int32_t kParameterNotFound = static_cast<std::int32_t>(0x80020004u);

using PlatformString = char16_t*;
struct SafeArray;

struct PlatformVariant {
  VariantTag tag;
  std::uint16_t reserved[3];
  union {
    std::int32_t integer;
    std::int16_t boolean;
    std::int32_t error;
    PlatformString string;
    SafeArray* array;
    void* reference;  // with kTagByReference: where the value of the base type lives
    std::uint64_t bits;
  };
};
static_assert(sizeof(PlatformVariant) == 16, "a variant is 16 bytes");

// --- platform strings ---

// A new platform string holding `text`. Free it with `freePlatformString`.
PlatformString allocatePlatformString(std::u16string_view text);
void freePlatformString(PlatformString string) noexcept;
// The units of a platform string; empty for the null string.
std::u16string_view platformStringView(PlatformString string);

// --- safe arrays ---

struct SafeArrayBound {
  std::uint32_t elementCount;
  std::int32_t lowerBound;
};

// A new array of elements of `elementTag` (bytes, integers, booleans) with the given
// dimensions, zero-filled; nullptr for an element type it cannot hold or no dimensions.
SafeArray* createSafeArray(VariantTag elementTag, std::span<const SafeArrayBound> bounds);
// Destroys the array and its data; fails (false) while its data is locked.
bool destroySafeArray(SafeArray* array) noexcept;
VariantTag safeArrayElementTag(const SafeArray* array);
std::uint32_t safeArrayDimensions(const SafeArray* array);
// Bounds of dimension `dimension` (1-based); false when there is no such dimension.
bool safeArrayLowerBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound);
bool safeArrayUpperBound(const SafeArray* array, std::uint32_t dimension, std::int32_t* bound);
// Locks the array's data in place and gives its address; each access needs one unaccess.
bool safeArrayAccessData(SafeArray* array, void** data);
bool safeArrayUnaccessData(SafeArray* array);
std::uint32_t safeArrayLockCount(const SafeArray* array);

// --- variants ---

// Releases what the variant owns (string, array) and marks it empty. Fails, leaving the
// variant as it was, when its array is locked.
bool clearPlatformVariant(PlatformVariant* variant) noexcept;
// Copies `source` into `target` (which must hold nothing), following a reference to the
// value it points at: strings and arrays are copied, not shared.
bool copyPlatformVariantFollowingReferences(PlatformVariant* target, const PlatformVariant* source);
// A variant that owns a new one-dimensional array (lower bound 0) holding a copy of `bytes`.
PlatformVariant byteArrayVariant(std::string_view bytes);
// Makes `target` (which must hold nothing) an array of unsigned bytes from `source`: a byte
// array is copied as it is; a string gives the bytes of its UTF-16 units. Other kinds fail.
bool changePlatformVariantToByteArray(PlatformVariant* target, const PlatformVariant* source);

}  // namespace quorvel
