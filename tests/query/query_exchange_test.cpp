// The query exchange on the wire, its reply kept in the response holder, and the stand-in service.
#include "query/query_exchange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/code_page.h"
#include "query/query_body.h"
#include "support/query_service_process.h"
#include "support/scripted_server.h"
#include "values/block_heap.h"

namespace quorvel {
namespace {

using testing::Connection;
using testing::ScriptedServer;

// The two holders as start-up makes them: an empty request holder, a reply of integer 0.
class QueryExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startObjectSystem());
    responseVariant_ = static_cast<Variant*>(allocateBlock(sizeof(Variant)));
    std::memset(responseVariant_, 0, sizeof(Variant));
    responseVariant_->tag = kTagInteger;
  }
  void TearDown() override {
    clearObject(&requestObject_);
    clearVariant(responseVariant_);
    releaseBlock(responseVariant_);
    stopObjectSystem();
  }

  void query(const std::string& host, TextRef plate, TextRef code) {
    prepareQueryRequest(&requestObject_, queryPageFor(host));
    sendQueryAndKeepReply(&requestObject_, &responseVariant_, composeQueryBody(plate, code));
  }

  std::string reply() const { return std::string(variantToBytes(responseVariant_).bytes()); }

  ComObject requestObject_{nullptr, nullptr};
  Variant* responseVariant_ = nullptr;
};

TEST_F(QueryExchange, PostsTheBodyWithTheSevenHeadersInOrder) {
  ScriptedServer server([](Connection& c) {
    if (c.readRequest()) c.send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\npage");
  });
  query(server.hostAndPort(), "\xBC\xAAH12345", "1234");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "POST /wzch/index.asp?Modid=013001&Add=01 HTTP/1.1\r\n"
            "Host: " + server.hostAndPort() + "\r\n"
            "Referer: http://" + server.hostAndPort() + "/wzch/index.asp\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; Trident/4.0; SLCC2; .NET CLR 2.0.50727; "
            ".NET CLR 3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; TheWorld)\r\n"
            "Accept-Language: ko\r\n"
            "Accept: image/jpeg, application/x-ms-application, image/gif, application/xaml+xml, image/pjpeg, "
            "application/x-ms-xbap, application/x-silverlight, application/x-shockwave-flash, "
            "application/vnd.ms-excel, application/msword, */*\r\n"
            "Connection: Keep-Alive\r\n"
            "Cache-Control: no-cache\r\n"
            "Content-Length: 58\r\n"
            "\r\n"
            "hpzl=02&hphm=%BC%AAH12345&FDJH=1234&Submit.x=50&Submit.y=9");
  EXPECT_EQ(responseVariant_->tag, kTagByteArray);
  EXPECT_EQ(reply(), "page");
}

TEST_F(QueryExchange, AFailedExchangeReplacesTheEarlierReplyWithNothing) {
  ScriptedServer server([](Connection& c) {
    if (c.readRequest()) c.send("HTTP/1.1 500 Oops\r\nContent-Length: 5\r\n\r\nfirst");
  });
  query(server.hostAndPort(), "\xBC\xAAH1", "1");
  EXPECT_EQ(reply(), "first");  // an error status is taken like any other reply

  query("127.0.0.1:" + std::to_string(testing::refusingPort()), "\xBC\xAAH1", "1");
  EXPECT_EQ(responseVariant_->tag, kTagEmpty);
  EXPECT_TRUE(variantToBytes(responseVariant_).isMissing());
}

TEST_F(QueryExchange, TheDeployedPageIsOnTheConfiguredHost) {
  EXPECT_EQ(deployedQueryPage().address, "http://" QUORVEL_QUERY_HOST_FOR_TESTS "/wzch/index.asp?Modid=013001&Add=01");
  EXPECT_EQ(deployedQueryPage().referer, "http://" QUORVEL_QUERY_HOST_FOR_TESTS "/wzch/index.asp");
}

TEST_F(QueryExchange, TheStandInServiceAnswersEachSampleVehicle) {
  testing::QueryServiceProcess service(QUORVEL_QUERY_SERVICE);
  ASSERT_TRUE(service.listening());
  struct Case {
    std::u16string_view plate;
    std::u16string_view code;
    std::u16string_view result;
  };
  const Case cases[] = {
      {u"吉H12345", u"1234", u"该车有2条未处理的违法记录，罚款共计400元，记分共计9分。"},
      {u"吉H67890", u"5678", u"该车没有未处理的违法记录。"},
      {u"吉H67890", u"0000", u"车辆识别代号后四位不正确，请核对后重新输入。"},
      {u"吉Z00000", u"1234", u"没有找到该车辆的信息，请核对号牌号码。"},
  };
  for (const Case& c : cases) {
    query(service.hostAndPort(), utf16ToGbk(c.plate).c_str(), utf16ToGbk(c.code).c_str());
    std::string page = reply();
    EXPECT_NE(page.find("';'>" + utf16ToGbk(c.result) + "</font>"), std::string::npos) << utf16ToUtf8(c.plate);
  }
}

}  // namespace
}  // namespace quorvel
