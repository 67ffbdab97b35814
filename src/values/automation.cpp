// The six automation operations over the object system, each silent on failure.
#include "values/automation.h"

#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "platform/code_page.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

// The member kinds tried, in order, by each way of calling.
constexpr MemberKind kMethodCallOrder[] = {MemberKind::method, MemberKind::propertyGet, MemberKind::propertyPut,
                                           MemberKind::propertyPutByReference};
constexpr MemberKind kVariantCallOrder[] = {MemberKind::propertyGet, MemberKind::method};

std::u16string toUtf16(TextRef text) { return gbkToUtf16(text.view()); }

// The argument variants of a call, last argument first, cleared when the call is over.
class ArgumentVariants {
 public:
  ArgumentVariants() = default;
  ArgumentVariants(const ArgumentVariants&) = delete;
  ArgumentVariants& operator=(const ArgumentVariants&) = delete;
  ~ArgumentVariants() {
    for (PlatformVariant& variant : variants_) clearPlatformVariant(&variant);
  }

  void addLastFirst(const CallArgument& argument) {
    PlatformVariant variant{};
    switch (argument.kind()) {
      case CallArgument::Kind::text:
        variant.tag = kTagString;
        variant.string = argument.text().isMissing() ? nullptr : allocatePlatformString(toUtf16(argument.text()));
        break;
      case CallArgument::Kind::integer:
        variant.tag = kTagInteger;
        variant.integer = argument.integer();
        break;
      case CallArgument::Kind::boolean:
        variant.tag = kTagBoolean;
        variant.boolean = argument.boolean() ? kVariantTrue : kVariantFalse;
        break;
      case CallArgument::Kind::omitted:
        variant.tag = kTagError;
        variant.error = kParameterNotFound;
        break;
    }
    variants_.insert(variants_.begin(), variant);
  }

  std::span<PlatformVariant> span() { return variants_; }
  std::size_t size() const { return variants_.size(); }

 private:
  std::vector<PlatformVariant> variants_;
};

// Binds the member by trying each kind in `order`; nullptr when none binds or the name is a type.
const MemberDescription* bindMember(const TypeInfo& typeInfo, std::u16string_view name,
                                    std::span<const MemberKind> order, MemberKind& invokedAs) {
  for (MemberKind kind : order) {
    if (const MemberDescription* member = typeInfo.bind(name, kind)) {
      if (member->kind == MemberKind::typeName) return nullptr;
      // A data member is read as a property, without arguments.
      invokedAs = member->kind == MemberKind::dataMember ? MemberKind::propertyGet : kind;
      return member;
    }
  }
  return nullptr;
}

// The shared procedure of callMethod and callMethodVariant. Fills `result` on success.
bool invokeByName(ComObject* holder, TextRef memberName, CallArguments arguments, std::span<const MemberKind> order,
                  PlatformVariant* result) {
  if (holder == nullptr || holder->object == nullptr) return false;
  AutomationObject* object = holder->object;
  if (!object->offersLateBinding()) return false;
  const TypeInfo* typeInfo = object->typeInfo();
  if (typeInfo == nullptr) return false;

  MemberKind invokedAs = MemberKind::method;
  const MemberDescription* member = bindMember(*typeInfo, toUtf16(memberName), order, invokedAs);
  if (member == nullptr) return false;

  // Trailing omitted arguments are dropped; the rest must fit what the member declares.
  std::vector<CallArgument> given(arguments.begin(), arguments.end());
  while (!given.empty() && given.back().kind() == CallArgument::Kind::omitted) given.pop_back();
  if (member->kind == MemberKind::dataMember) given.clear();
  if (given.size() > member->parameterCount && !member->variableArguments) return false;

  ArgumentVariants variants;
  for (const CallArgument& argument : given) variants.addLastFirst(argument);
  PlatformVariant invokeResult{};
  bool succeeded = object->invoke(member->memberId, invokedAs, variants.span(), &invokeResult);
  if (succeeded && result != nullptr) {
    succeeded = (invokeResult.tag & kTagBaseTypeMask) != kTagRecord &&
                copyPlatformVariantFollowingReferences(result, &invokeResult);
  }
  clearPlatformVariant(&invokeResult);
  return succeeded;
}

// Fills a ByteSet from a byte array, or gives a missing one for other arrays and empty ones.
ByteSet byteSetFromArray(SafeArray* array) {
  VariantTag element = safeArrayElementTag(array);
  if (element != kTagUnsignedByte && element != kTagSignedByte) return {};
  std::uint64_t count = 1;
  for (std::uint32_t dimension = 1; dimension <= safeArrayDimensions(array); ++dimension) {
    std::int32_t lower = 0;
    std::int32_t upper = -1;
    safeArrayLowerBound(array, dimension, &lower);
    safeArrayUpperBound(array, dimension, &upper);
    count *= static_cast<std::uint64_t>(std::int64_t{upper} - lower + 1);
  }
  if (count == 0) return {};
  void* data = nullptr;
  if (!safeArrayAccessData(array, &data)) return {};
  ByteSet bytes = byteSetFromBytes({static_cast<const char*>(data), static_cast<std::size_t>(count)});
  safeArrayUnaccessData(array);
  return bytes;
}

SafeArray* arrayHeldBy(const Variant* variant) {
  if ((variant->tag & kTagArray) == 0) return nullptr;
  if (variant->tag & kTagByReference) {
    return variant->reference == nullptr ? nullptr : *static_cast<SafeArray* const*>(variant->reference);
  }
  return variant->array;
}

}  // namespace

bool createObject(ComObject* holder, TextRef programmaticId) {
  std::u16string identifier = toUtf16(orSharedEmptyText(programmaticId));
  std::optional<std::u16string> classId = programmaticId.view().starts_with('{')
                                              ? classIdFromString(identifier)
                                              : classIdFromProgrammaticId(identifier);
  if (!classId) return false;
  AutomationObject* created = createInstance(*classId);
  if (created == nullptr) return false;
  if (!created->run()) {
    created->release();
    return false;
  }
  AutomationObject* previous = holder->object;
  holder->object = created;
  if (previous != nullptr) previous->release();
  return true;
}

void callMethod(ComObject* holder, TextRef memberName, CallArguments arguments) {
  invokeByName(holder, memberName, arguments, kMethodCallOrder, nullptr);
}

Variant* callMethodVariant(ComObject* holder, TextRef memberName, CallArguments arguments) {
  auto* result = static_cast<Variant*>(allocateBlock(sizeof(Variant)));
  std::memset(result, 0, sizeof(Variant));
  if (!invokeByName(holder, memberName, arguments, kVariantCallOrder, result)) {
    clearPlatformVariant(result);
    std::memset(result, 0, sizeof(Variant));
  }
  return result;
}

ByteSet variantToBytes(const Variant* variant) {
  if (variant == nullptr) return {};
  if (SafeArray* array = arrayHeldBy(variant)) return byteSetFromArray(array);
  if (variant->tag & kTagArray) return {};
  PlatformVariant converted{};
  ByteSet bytes;
  if (changePlatformVariantToByteArray(&converted, variant) && converted.array != nullptr) {
    bytes = byteSetFromArray(converted.array);
  }
  clearPlatformVariant(&converted);
  return bytes;
}

void clearVariant(Variant* variant) {
  if (variant == nullptr) return;
  clearPlatformVariant(variant);
  std::memset(variant, 0, sizeof(Variant));
}

void clearObject(ComObject* holder) {
  if (holder == nullptr || holder->object == nullptr) return;
  AutomationObject* object = holder->object;
  holder->object = nullptr;
  object->release();
}

}  // namespace quorvel
