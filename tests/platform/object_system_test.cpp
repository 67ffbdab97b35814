// The object system's registry, class ids, member binding, platform strings and safe arrays.
#include "platform/object_system.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(ClassIdFromString, AcceptsOnlyAClassIdInBracesAndCanonicalisesItsCase) {
  struct Case {
    std::u16string_view text;
    std::optional<std::u16string> classId;
  };
  const Case cases[] = {
      {u"{2087c2f4-2cef-4953-a8ab-66779b670495}", u"{2087C2F4-2CEF-4953-A8AB-66779B670495}"},
      {u"{00000000-0000-0000-0000-000000000000}", u"{00000000-0000-0000-0000-000000000000}"},
      {u"2087C2F4-2CEF-4953-A8AB-66779B670495", std::nullopt},
      {u"{2087C2F4-2CEF-4953-A8AB-66779B67049}", std::nullopt},
      {u"{2087C2F4-2CEF-4953-A8AB-66779B6704951}", std::nullopt},
      {u"{2087C2F4+2CEF-4953-A8AB-66779B670495}", std::nullopt},
      {u"{2087C2G4-2CEF-4953-A8AB-66779B670495}", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(classIdFromString(c.text), c.classId);
}

TEST(TypeInfo, BindsByNameInAnyCaseAndByKind) {
  const TypeInfo typeInfo({{u"Send", MemberKind::method, 1, 1},
                           {u"Status", MemberKind::propertyGet, 2, 0},
                           {u"Count", MemberKind::dataMember, 3, 0}});
  ASSERT_NE(typeInfo.bind(u"send", MemberKind::method), nullptr);
  EXPECT_EQ(typeInfo.bind(u"SEND", MemberKind::method)->memberId, 1);
  EXPECT_EQ(typeInfo.bind(u"send", MemberKind::propertyGet), nullptr);
  EXPECT_EQ(typeInfo.bind(u"status", MemberKind::method), nullptr);
  EXPECT_EQ(typeInfo.bind(u"count", MemberKind::propertyPut)->memberId, 3);
  EXPECT_EQ(typeInfo.bind(u"Sen", MemberKind::method), nullptr);
  EXPECT_EQ(typeInfo.bind(u"Sendx", MemberKind::method), nullptr);
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(startObjectSystem()); }
  void TearDown() override { stopObjectSystem(); }
};

TEST_F(Registry, FindsClassesByProgrammaticIdInAnyCase) {
  constexpr std::u16string_view kClassId = u"{AAAAAAAA-0000-0000-0000-000000000001}";
  ASSERT_TRUE(registerClass(u"Test.Thing", kClassId, [] { return nullptr; }));
  EXPECT_EQ(classIdFromProgrammaticId(u"test.THING"), std::u16string(kClassId));
  EXPECT_EQ(classIdFromProgrammaticId(u"Test.Other"), std::nullopt);
  EXPECT_EQ(classIdFromProgrammaticId(u"WinHttp.WinHttpRequest.5.1"),
            u"{2087C2F4-2CEF-4953-A8AB-66779B670495}");
  unregisterClass(kClassId);
  EXPECT_EQ(classIdFromProgrammaticId(u"Test.Thing"), std::nullopt);
  EXPECT_FALSE(registerClass(u"Test.Bad", u"not a class id", [] { return nullptr; }));
}

TEST(ObjectSystem, HoldsNoClassesWhileStopped) {
  EXPECT_FALSE(objectSystemIsRunning());
  EXPECT_FALSE(registerClass(u"Test.Thing", u"{AAAAAAAA-0000-0000-0000-000000000001}", [] { return nullptr; }));
  EXPECT_EQ(classIdFromProgrammaticId(u"WinHttp.WinHttpRequest.5.1"), std::nullopt);
  EXPECT_EQ(createInstance(u"{2087C2F4-2CEF-4953-A8AB-66779B670495}"), nullptr);
}

TEST(PlatformString, KeepsItsLengthAndZeroUnits) {
  const std::u16string text(u"a\0b", 3);
  PlatformString string = allocatePlatformString(text);
  EXPECT_EQ(platformStringView(string), text);
  EXPECT_EQ(string[3], u'\0');
  freePlatformString(string);
  PlatformString empty = allocatePlatformString(u"");
  EXPECT_NE(empty, nullptr);
  EXPECT_TRUE(platformStringView(empty).empty());
  freePlatformString(empty);
  EXPECT_TRUE(platformStringView(nullptr).empty());
  freePlatformString(nullptr);
}

TEST(SafeArray, ReportsBoundsAndStaysWhileLocked) {
  const SafeArrayBound bounds[] = {{4, -1}, {2, 3}};
  SafeArray* array = createSafeArray(kTagUnsignedByte, bounds);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(safeArrayDimensions(array), 2u);
  std::int32_t lower = 0;
  std::int32_t upper = 0;
  EXPECT_TRUE(safeArrayLowerBound(array, 1, &lower));
  EXPECT_TRUE(safeArrayUpperBound(array, 1, &upper));
  EXPECT_EQ(lower, -1);
  EXPECT_EQ(upper, 2);
  EXPECT_FALSE(safeArrayUpperBound(array, 3, &upper));

  PlatformVariant variant{};
  variant.tag = kTagByteArray;
  variant.array = array;
  void* data = nullptr;
  ASSERT_TRUE(safeArrayAccessData(array, &data));
  EXPECT_FALSE(clearPlatformVariant(&variant));  // locked: the array stays
  EXPECT_EQ(variant.array, array);
  EXPECT_TRUE(safeArrayUnaccessData(array));
  EXPECT_FALSE(safeArrayUnaccessData(array));
  EXPECT_TRUE(clearPlatformVariant(&variant));
  EXPECT_EQ(variant.tag, kTagEmpty);
  EXPECT_EQ(createSafeArray(kTagString, bounds), nullptr);
}

TEST(PlatformVariant, CopiesFollowReferencesAndOwnTheirStrings) {
  PlatformString original = allocatePlatformString(u"text");
  PlatformVariant byReference{};
  byReference.tag = kTagByReference | kTagString;
  byReference.reference = &original;
  PlatformVariant copy{};
  ASSERT_TRUE(copyPlatformVariantFollowingReferences(&copy, &byReference));
  EXPECT_EQ(copy.tag, kTagString);
  EXPECT_NE(copy.string, original);
  EXPECT_EQ(platformStringView(copy.string), u"text");
  EXPECT_TRUE(clearPlatformVariant(&byReference));  // a reference owns nothing
  EXPECT_EQ(platformStringView(original), u"text");
  clearPlatformVariant(&copy);
  freePlatformString(original);
}

}  // namespace
}  // namespace quorvel
