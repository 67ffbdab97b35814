// ComObject, Variant and the six automation operations through which the query logic drives
// late-bound objects (the HTTP request object above all).
//
// Contract:
// - `ComObject` holds one reference to an automation object, or none (empty). It is two
//   pointer-sized fields: the reference, and a second field that stays zero. The holder
//   lives in a block of its own from the block heap.
// - `Variant` is the platform's 16-byte variant, kept in a block of its own and passed by a
//   pointer to that block. Whoever holds the pointer owns the block and what it refers to.
// - No operation reports a failure: a call that cannot be made does nothing, and
//   `callMethodVariant` then returns an empty Variant, never nullptr.
// - Texts passed as arguments are GBK and reach the object as UTF-16 platform strings.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/object_system.h"
#include "platform/variant.h"
#include "values/byte_set.h"
#include "values/text_value.h"

namespace quorvel {

struct ComObject {
  AutomationObject* object;
  void* unused;  // never set; stays zero
};
static_assert(sizeof(ComObject) == 16, "two pointer-sized fields");

using Variant = PlatformVariant;

// One argument of a late-bound call: a text, a 32-bit integer, a boolean, or omitted.
class CallArgument {
 public:
  enum class Kind { text, integer, boolean, omitted };

  CallArgument(TextRef text) : kind_(Kind::text), text_(text) {}
  CallArgument(const char* text) : kind_(Kind::text), text_(text) {}
  CallArgument(const TextValue& text) : kind_(Kind::text), text_(text) {}
  CallArgument(std::int32_t integer) : kind_(Kind::integer), integer_(integer) {}
  CallArgument(bool boolean) : kind_(Kind::boolean), boolean_(boolean) {}
  static CallArgument omitted() { return CallArgument(); }

  Kind kind() const { return kind_; }
  TextRef text() const { return text_; }
  std::int32_t integer() const { return integer_; }
  bool boolean() const { return boolean_; }

 private:
  CallArgument() : kind_(Kind::omitted) {}

  Kind kind_;
  TextRef text_;
  std::int32_t integer_ = 0;
  bool boolean_ = false;
};

using CallArguments = std::initializer_list<CallArgument>;

// Creates a new object from a programmatic identifier, or a class id in braces. On success
// the holder's previous object is released and the new one takes its place; on failure
// the holder keeps what it held.
bool createObject(ComObject* holder, TextRef programmaticId);

// Calls a member by name (any letter case): tried as a method, then a property read, a
// property write and a property write by reference. Any result is discarded.
void callMethod(ComObject* holder, TextRef memberName, CallArguments arguments = {});

// Calls a member by name, tried as a property read, then as a method, and returns its
// result in a new Variant block (empty on failure; never nullptr). The caller clears it
// with `clearVariant` and releases it with `releaseBlock`.
Variant* callMethodVariant(ComObject* holder, TextRef memberName, CallArguments arguments = {});

// The bytes of a Variant that holds, or converts to, an array of bytes, as a new ByteSet;
// missing when it holds no bytes. The Variant is left unchanged.
ByteSet variantToBytes(const Variant* variant);

// Releases what the Variant refers to and sets all 16 bytes to zero; the block stays.
void clearVariant(Variant* variant);

// Releases the held object, if any, and leaves the holder empty.
void clearObject(ComObject* holder);

}  // namespace quorvel
