// Whole queries through the real window against real servers on 127.0.0.1.
#include "query/query_action.h"

#include <QMouseEvent>
#include <QPushButton>

#include <chrono>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/http_request.h"
#include "platform/object_system.h"
#include "query/program_holders.h"
#include "query/query_exchange.h"
#include "shell/control_access.h"
#include "shell/life_cycle.h"
#include "support/query_service_process.h"
#include "support/scripted_server.h"
#include "support/text_content.h"
#include "support/window_fixture.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using testing::Connection;
using testing::contentOf;
using testing::ScriptedServer;

std::string page(const std::string& result) { return "<html>';'>" + result + "</font></html>"; }

class QueryAction : public testing::WindowFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(startObjectSystem());
    WindowFixture::SetUp();
    initGlobals();
  }
  void TearDown() override {
    releaseGlobals();
    WindowFixture::TearDown();
    stopObjectSystem();
  }

  // A click of the query button runs the query, as the program's event bindings have it.
  void handle(std::uint32_t source, WindowEvent event) override {
    if (source == ids::按钮1 && event == WindowEvent::clicked) onQueryClicked();
  }

  void fill(const char* plate, const char* code) {
    writeControlText(ids::QueryWindow, ids::编辑框1, plate);
    writeControlText(ids::QueryWindow, ids::编辑框2, code);
  }
  void click() { QTest::mouseClick(control(ids::按钮1), Qt::LeftButton); }
  std::string text(ControlId box) const { return editBox(box)->gbkText(); }
  std::string status() const { return window_->statusBar(ids::状态条1)->partText(0); }
};

TEST_F(QueryAction, UpperCasesThePlateAndPostsTheFormWithTheSevenHeaders) {
  ScriptedServer server([](Connection& c) {
    if (c.readRequest()) c.send(testing::httpReply(page("No record")));
  });
  pointQueriesAt(server.hostAndPort());
  fill("\xBC\xAAh12345", "1234");
  click();
  EXPECT_EQ(text(ids::编辑框1), "\xBC\xAAH12345");
  EXPECT_EQ(text(ids::编辑框2), "1234");
  ASSERT_EQ(server.requests().size(), 1u);
  const std::string request = server.requests()[0];
  EXPECT_TRUE(request.starts_with("POST /wzch/index.asp?Modid=013001&Add=01 HTTP/1.1\r\nHost: " +
                                  server.hostAndPort() + "\r\nReferer: http://" + server.hostAndPort() +
                                  "/wzch/index.asp\r\nContent-Type: application/x-www-form-urlencoded\r\nUser-Agent: "))
      << request;
  EXPECT_NE(request.find("\r\nAccept-Language: ko\r\nAccept: image/jpeg, "), std::string::npos) << request;
  EXPECT_TRUE(request.ends_with("*/*\r\nConnection: Keep-Alive\r\nCache-Control: no-cache\r\nContent-Length: 58\r\n\r\n"
                                "hpzl=02&hphm=%BC%AAH12345&FDJH=1234&Submit.x=50&Submit.y=9"))
      << request;
  EXPECT_EQ(status(), "No record");
  EXPECT_EQ(text(ids::编辑框98), page("No record"));
}

TEST_F(QueryAction, ShowsTheStandInServicesAnswer) {
  testing::QueryServiceProcess service(QUORVEL_QUERY_SERVICE);
  ASSERT_TRUE(service.listening());
  pointQueriesAt(service.hostAndPort());
  fill("\xBC\xAA" "h12345", "1234");
  click();
  EXPECT_EQ(status(), utf16ToGbk(u"该车有2条未处理的违法记录，罚款共计400元，记分共计9分。"));
  fill("\xBC\xAA" "h67890", "5678");
  click();
  EXPECT_EQ(status(), utf16ToGbk(u"该车没有未处理的违法记录。"));
}

// Under the sanitizers, LeakSanitizer checks at the end of the run that nothing of these
// thousand queries stayed behind.
TEST_F(QueryAction, AThousandQueriesEachReplaceTheLast) {
  testing::QueryServiceProcess service(QUORVEL_QUERY_SERVICE);
  ASSERT_TRUE(service.listening());
  pointQueriesAt(service.hostAndPort());
  fill("\xBC\xAA" "h24680", "9753");
  for (int i = 0; i < 1000; ++i) click();
  EXPECT_EQ(status(), utf16ToGbk(u"该车有1条未处理的违法记录，罚款共计200元，记分共计3分。"));
  EXPECT_EQ(ResponseVariant->tag, kTagByteArray);
}

TEST_F(QueryAction, AFailedExchangeStillUpperCasesAndEmptiesTheBufferAndTheStatus) {
  writeControlText(ids::QueryWindow, ids::编辑框98, page("earlier").c_str());
  setStatusText(ids::QueryWindow, ids::状态条1, 0, "earlier");
  pointQueriesAt("127.0.0.1:" + std::to_string(testing::refusingPort()));
  fill("\xBC\xAAh1", "1");
  click();
  EXPECT_EQ(text(ids::编辑框1), "\xBC\xAAH1");
  EXPECT_EQ(text(ids::编辑框98), "");
  EXPECT_EQ(status(), "");
}

TEST_F(QueryAction, AServerThatNeverAnswersEndsAtTheReceiveTimeOut) {
  ScriptedServer server([](Connection& c) {
    c.readRequest();
    c.holdUntilClosed(10s);
  });
  pointQueriesAt(server.hostAndPort());
  setStatusText(ids::QueryWindow, ids::状态条1, 0, "earlier");
  fill("\xBC\xAAh1", "1");
  const auto started = std::chrono::steady_clock::now();
  click();
  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_GE(elapsed, 7s);
  EXPECT_LT(elapsed, 8s);
  EXPECT_EQ(text(ids::编辑框1), "\xBC\xAAH1");
  EXPECT_EQ(status(), "");
}

// A request object that wraps the real one and logs its life and its calls.
std::vector<std::string> requestLog;
int requestObjectsMade = 0;

class LoggingRequest final : public AutomationObject {
 public:
  LoggingRequest() : number_(++requestObjectsMade), inner_(createInstance(kHttpRequestClassId)) {
    requestLog.push_back("create " + std::to_string(number_));
  }
  ~LoggingRequest() override {
    requestLog.push_back("release " + std::to_string(number_));
    inner_->release();
  }
  bool run() override {
    requestLog.push_back("run " + std::to_string(number_));
    return inner_->run();
  }
  const TypeInfo* typeInfo() const override { return inner_->typeInfo(); }
  bool invoke(std::int32_t memberId, MemberKind kind, std::span<PlatformVariant> arguments,
              PlatformVariant* result) override {
    bool succeeded = inner_->invoke(memberId, kind, arguments, result);
    std::string entry = std::to_string(number_) + ":" + std::to_string(memberId);
    if (kind == MemberKind::propertyGet) {
      // What the program holds as its reply while this reply is being fetched.
      entry += " holding '" + std::string(variantToBytes(ResponseVariant).bytes()) + "'";
    }
    requestLog.push_back(entry);
    return succeeded;
  }

 private:
  int number_;
  AutomationObject* inner_;
};

TEST_F(QueryAction, ASecondClickReleasesTheFirstObjectOnceItsOwnRunsAndTheFirstReplyAfterItsOwn) {
  ASSERT_TRUE(registerClass(kHttpRequestProgrammaticId, u"{0000ABCD-0000-0000-0000-000000000001}",
                            [] { return new LoggingRequest(); }));
  int replies = 0;
  ScriptedServer server([&replies](Connection& c) {
    while (c.readRequest()) c.send(testing::httpReply(page(++replies == 1 ? "first" : "second")));
  });
  pointQueriesAt(server.hostAndPort());
  fill("\xBC\xAA" "A1", "1");
  click();
  requestLog.clear();
  click();
  const std::vector<std::string> expected = {
      "create 2", "run 2", "release 1",  // the first object goes once the new one runs
      "2:1", "2:2", "2:3", "2:3", "2:3", "2:3", "2:3", "2:3", "2:3", "2:4",
      "2:5 holding '" + page("first") + "'",  // the first reply is still held while the new one comes
  };
  EXPECT_EQ(requestLog, expected);
  EXPECT_EQ(status(), "second");
}

TEST_F(QueryAction, ClicksDuringARunningQueryEachRunAQueryAfterIt) {
  QPushButton* button = qobject_cast<QPushButton*>(control(ids::按钮1));
  const QPointF centre = QPointF(button->rect().center());
  ScriptedServer server([&](Connection& c) {
    while (auto request = c.readRequest()) {
      if (server.requests().size() == 1) {
        // Two clicks arrive while the first query still waits for its reply.
        for (int i = 0; i < 2; ++i) {
          for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(button, new QMouseEvent(type, centre, button->mapToGlobal(centre),
                                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
          }
        }
      }
      c.send(testing::httpReply(page("reply " + std::to_string(server.requests().size()))));
    }
  });
  pointQueriesAt(server.hostAndPort());
  click();
  EXPECT_EQ(server.requests().size(), 1u);  // the window thread was held until the first ended
  for (int i = 0; i < 250 && server.requests().size() < 3; ++i) QTest::qWait(20);
  EXPECT_EQ(server.requests().size(), 3u);
  EXPECT_EQ(status(), "reply 3");
}

}  // namespace
}  // namespace quorvel
