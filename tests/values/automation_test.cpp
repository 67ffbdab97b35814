// The six automation operations against small test classes that count creations, runs and releases.
#include "values/automation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "support/text_content.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

using testing::contentOf;

constexpr std::u16string_view kCountingProgId = u"Quorvel.Counting";
constexpr std::u16string_view kCountingClassId = u"{11111111-2222-3333-4444-555555555555}";

struct Counts {
  int created = 0;
  int runs = 0;
  int destroyed = 0;
  std::vector<std::string> invocations;  // "<member id>:<kind>(<arguments, last first>)"
};

enum Member : std::int32_t { kOpen = 1, kValue, kPut, kBytes, kFails, kRecord, kByReference, kField, kType, kMany,
                             kBothMethod, kBothGet };

std::string describe(const PlatformVariant& v) {
  switch (v.tag) {
    case kTagString:
      return v.string == nullptr ? "null" : "'" + utf16ToUtf8(platformStringView(v.string)) + "'";
    case kTagInteger: return "i" + std::to_string(v.integer);
    case kTagBoolean: return "b" + std::to_string(v.boolean);
    case kTagError: return v.error == kParameterNotFound ? "omitted" : "error";
    default: return "tag" + std::to_string(v.tag);
  }
}

class CountingObject final : public AutomationObject {
 public:
  struct Behaviour {
    bool canRun = true;
    bool lateBinding = true;
    bool typeInfo = true;
  };

  CountingObject(Counts& counts, Behaviour behaviour) : counts_(counts), behaviour_(behaviour) { ++counts_.created; }
  ~CountingObject() override { ++counts_.destroyed; }

  bool run() override {
    ++counts_.runs;
    return behaviour_.canRun;
  }
  bool offersLateBinding() const override { return behaviour_.lateBinding; }
  const TypeInfo* typeInfo() const override { return behaviour_.typeInfo ? &kTypeInfo : nullptr; }

  bool invoke(std::int32_t memberId, MemberKind kind, std::span<PlatformVariant> arguments,
              PlatformVariant* result) override {
    std::string call = std::to_string(memberId) + ":" + std::to_string(static_cast<int>(kind)) + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i) call += (i ? "," : "") + describe(arguments[i]);
    counts_.invocations.push_back(call + ")");
    switch (memberId) {
      case kValue:
      case kField:
        result->tag = kTagInteger;
        result->integer = memberId == kValue ? 42 : 5;
        return true;
      case kBothGet:
        result->tag = kTagInteger;
        result->integer = 11;
        return true;
      case kBytes:
        *result = byteArrayVariant("abc");
        return true;
      case kRecord:
        result->tag = kTagRecord;
        return true;
      case kByReference:
        result->tag = kTagByReference | kTagInteger;
        result->reference = &referencedValue_;
        return true;
      case kFails: return false;
      default: return true;
    }
  }

 private:
  static inline const TypeInfo kTypeInfo{{
      {u"Open", MemberKind::method, kOpen, 3},
      {u"Value", MemberKind::propertyGet, kValue, 0},
      {u"Put", MemberKind::propertyPut, kPut, 1},
      {u"Bytes", MemberKind::propertyGet, kBytes, 0},
      {u"Fails", MemberKind::method, kFails, 0},
      {u"Record", MemberKind::propertyGet, kRecord, 0},
      {u"ByReference", MemberKind::propertyGet, kByReference, 0},
      {u"Field", MemberKind::dataMember, kField, 0},
      {u"SomeType", MemberKind::typeName, kType, 0},
      {u"Many", MemberKind::method, kMany, 0, true},
      {u"Both", MemberKind::method, kBothMethod, 0},
      {u"Both", MemberKind::propertyGet, kBothGet, 0},
  }};

  Counts& counts_;
  Behaviour behaviour_;
  std::int32_t referencedValue_ = 7;
};

class Automation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startObjectSystem());
    useClass({});
  }
  void TearDown() override {
    clearObject(&holder_);
    stopObjectSystem();
  }

  void useClass(CountingObject::Behaviour behaviour) {
    registerClass(kCountingProgId, kCountingClassId,
                  [this, behaviour]() -> AutomationObject* { return new CountingObject(counts_, behaviour); });
  }

  // The object's invocations since the holder was filled.
  const std::vector<std::string>& invocations() const { return counts_.invocations; }

  // A Variant block as callMethodVariant gives it, cleared and released at the end of the test.
  Variant* keep(Variant* variant) {
    kept_.emplace_back(variant);
    return variant;
  }

  ComObject holder_{nullptr, nullptr};
  Counts counts_;

 private:
  struct KeptVariant {
    explicit KeptVariant(Variant* v) : variant(v) {}
    KeptVariant(KeptVariant&& other) noexcept : variant(std::exchange(other.variant, nullptr)) {}
    ~KeptVariant() {
      clearVariant(variant);
      releaseBlock(variant);
    }
    Variant* variant;
  };
  std::vector<KeptVariant> kept_;
};

TEST_F(Automation, CreateObjectFillsAnEmptyHolder) {
  EXPECT_TRUE(createObject(&holder_, "Quorvel.Counting"));
  EXPECT_NE(holder_.object, nullptr);
  EXPECT_EQ(holder_.unused, nullptr);
  EXPECT_EQ(counts_.created, 1);
  EXPECT_EQ(counts_.runs, 1);
  EXPECT_EQ(counts_.destroyed, 0);
}

TEST_F(Automation, CreateObjectReleasesThePreviousObjectOnceTheNewOneRuns) {
  ASSERT_TRUE(createObject(&holder_, "quorvel.counting"));
  AutomationObject* first = holder_.object;
  ASSERT_TRUE(createObject(&holder_, "{11111111-2222-3333-4444-555555555555}"));
  EXPECT_NE(holder_.object, first);
  EXPECT_EQ(counts_.created, 2);
  EXPECT_EQ(counts_.destroyed, 1);
  clearObject(&holder_);
  EXPECT_EQ(counts_.destroyed, 2);
  EXPECT_EQ(holder_.object, nullptr);
}

TEST_F(Automation, FailedCreationKeepsWhatTheHolderHeld) {
  ASSERT_TRUE(createObject(&holder_, "Quorvel.Counting"));
  AutomationObject* first = holder_.object;
  const char* unknownNames[] = {"No.Such.Class", "", "{11111111-2222-3333-4444-55555555555}", "{not a class id}"};
  for (const char* name : unknownNames) {
    EXPECT_FALSE(createObject(&holder_, name)) << name;
    EXPECT_EQ(holder_.object, first) << name;
  }
  EXPECT_FALSE(createObject(&holder_, nullptr));

  useClass({.canRun = false});
  EXPECT_FALSE(createObject(&holder_, "Quorvel.Counting"));
  EXPECT_EQ(holder_.object, first);
  EXPECT_EQ(counts_.created, 2);
  EXPECT_EQ(counts_.runs, 2);
  EXPECT_EQ(counts_.destroyed, 1);  // the one that could not run, and only that one

  registerClass(kCountingProgId, kCountingClassId, []() -> AutomationObject* { return nullptr; });
  EXPECT_FALSE(createObject(&holder_, "Quorvel.Counting"));
  EXPECT_EQ(holder_.object, first);
}

TEST_F(Automation, NoObjectCanBeCreatedOutsideTheObjectSystem) {
  stopObjectSystem();
  EXPECT_FALSE(createObject(&holder_, "Quorvel.Counting"));
  EXPECT_EQ(counts_.created, 0);
  ASSERT_TRUE(startObjectSystem());
}

TEST_F(Automation, CallsOnAnEmptyHolderDoNothing) {
  callMethod(&holder_, "Open", {"POST"});
  Variant* result = keep(callMethodVariant(&holder_, "Value"));
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->tag, kTagEmpty);
  EXPECT_EQ(result->bits, 0u);
  EXPECT_TRUE(invocations().empty());
}

TEST_F(Automation, ObjectsWithoutLateBindingOrTypeInformationAreNeverInvoked) {
  for (CountingObject::Behaviour behaviour : {CountingObject::Behaviour{.lateBinding = false},
                                              CountingObject::Behaviour{.typeInfo = false}}) {
    useClass(behaviour);
    ASSERT_TRUE(createObject(&holder_, "Quorvel.Counting"));
    callMethod(&holder_, "Open");
    EXPECT_EQ(keep(callMethodVariant(&holder_, "Value"))->tag, kTagEmpty);
  }
  EXPECT_TRUE(invocations().empty());
}

TEST_F(Automation, ArgumentsArriveAsVariantsLastFirst) {
  ASSERT_TRUE(createObject(&holder_, "Quorvel.Counting"));
  struct Case {
    const char* name;
    std::vector<CallArgument> arguments;
    std::string invocation;  // empty: nothing is invoked
  };
  const Case cases[] = {
      {"TextIntegerBoolean", {"POST", std::int32_t{7000}, false}, "1:0(b0,i7000,'POST')"},
      {"TrueIsMinusOne", {true}, "1:0(b-1)"},
      {"GbkTextBecomesUtf16", {"\xBC\xAAH"}, "1:0('吉H')"},
      {"EmptyTextIsAnEmptyString", {""}, "1:0('')"},
      {"MissingTextIsANullString", {TextRef()}, "1:0(null)"},
      {"OmittedBetweenArguments", {"a", CallArgument::omitted(), std::int32_t{1}}, "1:0(i1,omitted,'a')"},
      {"TrailingOmittedDropped", {"a", CallArgument::omitted(), CallArgument::omitted()}, "1:0('a')"},
      {"FewerThanDeclared", {}, "1:0()"},
      {"MoreThanDeclaredFails", {"a", "b", "c", "d"}, ""},
  };
  for (const Case& c : cases) {
    counts_.invocations.clear();
    auto arguments = c.arguments;
    // The operations take an initializer list; forward the vector through a fixed arity.
    switch (arguments.size()) {
      case 0: callMethod(&holder_, "open"); break;
      case 1: callMethod(&holder_, "open", {arguments[0]}); break;
      case 2: callMethod(&holder_, "open", {arguments[0], arguments[1]}); break;
      case 3: callMethod(&holder_, "open", {arguments[0], arguments[1], arguments[2]}); break;
      default: callMethod(&holder_, "open", {arguments[0], arguments[1], arguments[2], arguments[3]}); break;
    }
    if (c.invocation.empty()) {
      EXPECT_TRUE(invocations().empty()) << c.name;
    } else {
      EXPECT_EQ(invocations(), std::vector<std::string>{c.invocation}) << c.name;
    }
  }
}

TEST_F(Automation, MembersBindByNameInAnyCaseAndInKindOrder) {
  ASSERT_TRUE(createObject(&holder_, "Quorvel.Counting"));
  callMethod(&holder_, "OPEN");
  callMethod(&holder_, "oPeN");
  callMethod(&holder_, "put", {std::int32_t{1}});  // no method or reader: binds the writer
  callMethod(&holder_, "Both");                    // method before property read
  callMethod(&holder_, "many", {std::int32_t{1}, std::int32_t{2}, std::int32_t{3}});  // variable arguments
  callMethod(&holder_, "Field", {std::int32_t{9}});  // a data member is read, without arguments
  callMethod(&holder_, "SomeType");                  // a type is not a member
  callMethod(&holder_, "NoSuchMember");
  const std::vector<std::string> expected = {"1:0()", "1:0()", "3:2(i1)", "11:0()", "10:0(i3,i2,i1)", "8:1()"};
  EXPECT_EQ(invocations(), expected);
}

TEST_F(Automation, CallMethodVariantReturnsTheResultOrAnEmptyVariant) {
  ASSERT_TRUE(createObject(&holder_, "Quorvel.Counting"));
  struct Case {
    const char* member;
    VariantTag tag;
    std::int32_t integer;
  };
  const Case cases[] = {
      {"value", kTagInteger, 42},      {"BOTH", kTagInteger, 11},  // property read before method
      {"Field", kTagInteger, 5},       {"ByReference", kTagInteger, 7},  // copied as its value
      {"Record", kTagEmpty, 0},        {"Fails", kTagEmpty, 0},
      {"Put", kTagEmpty, 0},           {"SomeType", kTagEmpty, 0},
      {"NoSuchMember", kTagEmpty, 0},
  };
  for (const Case& c : cases) {
    Variant* result = keep(callMethodVariant(&holder_, c.member));
    ASSERT_NE(result, nullptr) << c.member;
    EXPECT_EQ(result->tag, c.tag) << c.member;
    if (c.tag == kTagEmpty) {
      EXPECT_EQ(result->bits, 0u) << c.member;
    } else {
      EXPECT_EQ(result->integer, c.integer) << c.member;
    }
  }
}

// --- variantToBytes --------------------------------------------------------------------------

Variant arrayVariant(VariantTag element, std::vector<SafeArrayBound> bounds, std::string_view bytes) {
  Variant v{};
  v.tag = kTagArray | element;
  v.array = createSafeArray(element, bounds);
  void* data = nullptr;
  safeArrayAccessData(v.array, &data);
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  safeArrayUnaccessData(v.array);
  return v;
}

TEST(VariantToBytes, TakesByteArraysOfEveryShapeAndNothingElse) {
  struct Case {
    const char* name;
    Variant variant;
    std::optional<std::string> bytes;  // nullopt: a missing ByteSet
  };
  Case cases[] = {
      {"Empty", Variant{}, std::nullopt},
      {"OneDimension", arrayVariant(kTagUnsignedByte, {{3, 0}}, std::string_view("a\0c", 3)), std::string("a\0c", 3)},
      {"NonZeroLowerBound", arrayVariant(kTagUnsignedByte, {{2, 5}}, "xy"), "xy"},
      {"NoElements", arrayVariant(kTagUnsignedByte, {{0, 0}}, ""), std::nullopt},
      {"TwoDimensions", arrayVariant(kTagUnsignedByte, {{2, 0}, {3, 1}}, "abcdef"), "abcdef"},
      {"SignedBytes", arrayVariant(kTagSignedByte, {{2, 0}}, "\xFF\x01"), "\xFF\x01"},
      {"Integers", arrayVariant(kTagInteger, {{1, 0}}, "abcd"), std::nullopt},
  };
  for (Case& c : cases) {
    ByteSet bytes = variantToBytes(&c.variant);
    EXPECT_EQ(bytes.isMissing(), !c.bytes.has_value()) << c.name;
    if (c.bytes) {
      EXPECT_EQ(bytes.bytes(), *c.bytes) << c.name;
      EXPECT_EQ(ByteSetRef(bytes).dimensionCount(), 1) << c.name;
    }
    if (c.variant.tag & kTagArray) {
      EXPECT_EQ(safeArrayLockCount(c.variant.array), 0u) << c.name;
    }
    clearVariant(&c.variant);
  }
}

TEST(VariantToBytes, FollowsReferencesAndConvertsTextsLeavingTheVariantAsItWas) {
  Variant array = arrayVariant(kTagUnsignedByte, {{2, 0}}, "ok");
  SafeArray* referenced = array.array;
  Variant byReference{};
  byReference.tag = kTagByReference | kTagByteArray;
  byReference.reference = &referenced;
  EXPECT_EQ(variantToBytes(&byReference).bytes(), "ok");

  Variant text{};
  text.tag = kTagString;
  text.string = allocatePlatformString(u"A");
  EXPECT_EQ(variantToBytes(&text).bytes(), std::string("A\0", 2));
  EXPECT_EQ(platformStringView(text.string), u"A");

  Variant integer{};
  integer.tag = kTagInteger;
  integer.integer = 3;
  EXPECT_TRUE(variantToBytes(&integer).isMissing());
  EXPECT_TRUE(variantToBytes(nullptr).isMissing());

  clearVariant(&text);
  clearVariant(&array);
}

TEST(ClearVariant, ReleasesWhatItRefersToAndZeroesAllSixteenBytes) {
  Variant text{};
  text.tag = kTagString;
  text.reserved[1] = 9;
  text.string = allocatePlatformString(u"page");
  clearVariant(&text);  // the sanitizer run reports the string if it leaked
  const Variant zero{};
  EXPECT_EQ(std::memcmp(&text, &zero, sizeof zero), 0);
  clearVariant(&text);
  EXPECT_EQ(std::memcmp(&text, &zero, sizeof zero), 0);
}

TEST_F(Automation, ClearObjectOnAnEmptyHolderDoesNothing) {
  clearObject(&holder_);
  EXPECT_EQ(holder_.object, nullptr);
  EXPECT_EQ(counts_.destroyed, 0);
}

}  // namespace
}  // namespace quorvel
