// The request object's members: argument checks, the order of use, and the reply as bytes.
#include "platform/http_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/object_system.h"
#include "support/scripted_server.h"

namespace quorvel {
namespace {

using testing::Connection;
using testing::ScriptedServer;

PlatformVariant integer(std::int32_t value) {
  PlatformVariant v{};
  v.tag = kTagInteger;
  v.integer = value;
  return v;
}

PlatformVariant boolean(bool value) {
  PlatformVariant v{};
  v.tag = kTagBoolean;
  v.boolean = value ? kVariantTrue : kVariantFalse;
  return v;
}

PlatformVariant text(std::u16string_view value) {
  PlatformVariant v{};
  v.tag = kTagString;
  v.string = allocatePlatformString(value);
  return v;
}

std::u16string utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class RequestObject : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startObjectSystem());
    object_ = createInstance(kHttpRequestClassId);
    ASSERT_NE(object_, nullptr);
  }
  void TearDown() override {
    clearPlatformVariant(&result_);
    object_->release();
    stopObjectSystem();
  }

  // Calls a member with arguments in their natural order; true when the member succeeded.
  bool call(std::u16string_view name, std::vector<PlatformVariant> arguments, MemberKind kind = MemberKind::method) {
    const MemberDescription* member = object_->typeInfo()->bind(name, kind);
    if (member == nullptr) return false;
    std::vector<PlatformVariant> reversed(arguments.rbegin(), arguments.rend());
    clearPlatformVariant(&result_);
    bool succeeded = object_->invoke(member->memberId, kind, reversed, &result_);
    for (PlatformVariant& argument : reversed) clearPlatformVariant(&argument);
    return succeeded;
  }

  bool openPost(const std::string& url) {
    return call(u"open", {text(u"POST"), text(utf16(url)), boolean(false)});
  }

  std::optional<std::string> responseBody() {
    if (!call(u"responsebody", {}, MemberKind::propertyGet)) return std::nullopt;
    EXPECT_EQ(result_.tag, kTagByteArray);
    std::int32_t lower = 0;
    std::int32_t upper = -1;
    safeArrayLowerBound(result_.array, 1, &lower);
    safeArrayUpperBound(result_.array, 1, &upper);
    void* data = nullptr;
    safeArrayAccessData(result_.array, &data);
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(upper - lower + 1));
    safeArrayUnaccessData(result_.array);
    return bytes;
  }

  AutomationObject* object_ = nullptr;
  PlatformVariant result_{};
};

TEST_F(RequestObject, SetTimeoutsTakesFourLimitsOfMinusOneOrMore) {
  EXPECT_TRUE(call(u"SetTimeouts", {integer(7000), integer(7000), integer(10000), integer(7000)}));
  EXPECT_TRUE(call(u"settimeouts", {integer(0), integer(-1), integer(0), integer(-1)}));
  EXPECT_FALSE(call(u"SetTimeouts", {integer(-2), integer(0), integer(0), integer(0)}));
  EXPECT_FALSE(call(u"SetTimeouts", {integer(1), integer(2), integer(3)}));
  EXPECT_FALSE(call(u"SetTimeouts", {integer(1), integer(2), integer(3), text(u"x")}));
}

TEST_F(RequestObject, OpenPreparesOnlySynchronousHttpRequests) {
  EXPECT_TRUE(call(u"Open", {text(u"POST"), text(u"http://127.0.0.1/wzch/index.asp?a=1"), boolean(false)}));
  EXPECT_TRUE(call(u"Open", {text(u"GET"), text(u"https://example.test/")}));
  EXPECT_FALSE(call(u"Open", {text(u"POST"), text(u"http://127.0.0.1/"), boolean(true)}));
  EXPECT_FALSE(call(u"Open", {text(u"POST"), text(u"ftp://127.0.0.1/"), boolean(false)}));
  EXPECT_FALSE(call(u"Open", {text(u"POST"), text(u"not a url"), boolean(false)}));
  EXPECT_FALSE(call(u"Open", {text(u"PO ST"), text(u"http://127.0.0.1/"), boolean(false)}));
  EXPECT_FALSE(call(u"Open", {text(u"POST")}));
}

TEST_F(RequestObject, MembersRefuseToRunOutOfOrder) {
  EXPECT_FALSE(call(u"SetRequestHeader", {text(u"Accept"), text(u"*/*")}));
  EXPECT_FALSE(call(u"Send", {text(u"body")}));
  EXPECT_EQ(responseBody(), std::nullopt);
}

TEST_F(RequestObject, HeadersCannotBreakTheRequestApart) {
  ASSERT_TRUE(openPost("http://127.0.0.1/"));
  EXPECT_TRUE(call(u"SetRequestHeader", {text(u"Accept-Language"), text(u"ko")}));
  EXPECT_FALSE(call(u"SetRequestHeader", {text(u"X-Evil"), text(u"a\r\nHost: elsewhere")}));
  EXPECT_FALSE(call(u"SetRequestHeader", {text(u"Bad Name"), text(u"v")}));
  EXPECT_FALSE(call(u"SetRequestHeader", {text(u""), text(u"v")}));
}

TEST_F(RequestObject, ResponseBodyIsTheReplyByteForByte) {
  const std::string body("page\0with zero", 14);
  ScriptedServer server([&](Connection& c) {
    if (c.readRequest()) c.send("HTTP/1.1 200 OK\r\nContent-Length: 14\r\n\r\n" + body);
  });
  ASSERT_TRUE(openPost(server.url("/x")));
  ASSERT_TRUE(call(u"Send", {text(u"\u00E9=1")}));
  EXPECT_EQ(responseBody(), body);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_TRUE(server.requests()[0].ends_with("\r\n\r\n\xC3\xA9=1"));  // a non-ASCII text goes as UTF-8
  EXPECT_FALSE(call(u"Send", {text(u"again")}));                    // a request is sent once per Open
}

TEST_F(RequestObject, AnEmptyReplyIsAnArrayOfNoBytes) {
  ScriptedServer server([](Connection& c) {
    if (c.readRequest()) c.send("HTTP/1.1 204 No Content\r\n\r\n");
  });
  ASSERT_TRUE(openPost(server.url()));
  ASSERT_TRUE(call(u"Send", {}));
  EXPECT_EQ(responseBody(), "");
}

TEST_F(RequestObject, AFailedSendLeavesNoResponseBody) {
  ASSERT_TRUE(call(u"SetTimeouts", {integer(300), integer(300), integer(300), integer(300)}));
  ASSERT_TRUE(openPost("http://127.0.0.1:" + std::to_string(testing::refusingPort()) + "/"));
  EXPECT_FALSE(call(u"Send", {text(u"x")}));
  EXPECT_EQ(responseBody(), std::nullopt);
}

}  // namespace
}  // namespace quorvel
