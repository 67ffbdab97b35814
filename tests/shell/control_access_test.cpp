// readControlText, writeControlText and setStatusText on the real window, byte for byte.
#include "shell/control_access.h"

#include <QLabel>

#include "support/text_content.h"
#include "support/window_fixture.h"

namespace quorvel {
namespace {

using namespace ids;
using testing::contentOf;
using testing::kMissing;
using testing::refTo;

struct RoundTrip {
  const char* name;
  std::optional<std::string> written;
  std::optional<std::string> read;  // nullopt: the missing text
};

class WriteThenRead : public testing::WindowFixture, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(WriteThenRead, GivesBackTheBytesWritten) {
  for (ControlId box : {编辑框1, 编辑框2, 编辑框98}) {
    writeControlText(ids::QueryWindow, box, refTo(GetParam().written));
    EXPECT_EQ(contentOf(readControlText(ids::QueryWindow, box)), GetParam().read) << editBox(box)->objectName().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WriteThenRead,
    ::testing::Values(RoundTrip{"Empty", "", kMissing}, RoundTrip{"Missing", kMissing, kMissing},
                      RoundTrip{"Plate", "\xBC\xAA" "H12345", "\xBC\xAA" "H12345"},
                      RoundTrip{"LineBreaks", "a\r\nb\nc\r", "a\r\nb\nc\r"},
                      RoundTrip{"InvalidGbk", "\x81\x20\xFF\xBC", "\x81\x20\xFF\xBC"},
                      RoundTrip{"LongerThanAnyLimit", std::string(70000, '7'), std::string(70000, '7')},
                      RoundTrip{"Markup", "<b>x</b>';'>", "<b>x</b>';'>"}),
    [](const auto& info) { return std::string(info.param.name); });

using ControlAccess = testing::WindowFixture;

TEST_F(ControlAccess, ReadsTheInitialTexts) {
  EXPECT_EQ(contentOf(readControlText(ids::QueryWindow, 编辑框1)), "\xBC\xAA" "H");
  EXPECT_EQ(contentOf(readControlText(ids::QueryWindow, 编辑框2)), kMissing);
  EXPECT_EQ(contentOf(readControlText(ids::QueryWindow, 编辑框98)), kMissing);
}

TEST_F(ControlAccess, UnknownWindowsAndControlsReadMissingAndIgnoreWrites) {
  writeControlText(0x1234, 编辑框1, "x");
  writeControlText(ids::QueryWindow, 标签1, "x");
  EXPECT_EQ(contentOf(readControlText(0x1234, 编辑框1)), kMissing);
  EXPECT_EQ(contentOf(readControlText(ids::QueryWindow, 按钮1)), kMissing);
  EXPECT_EQ(contentOf(readControlText(ids::QueryWindow, 编辑框1)), "\xBC\xAA" "H");
}

TEST_F(ControlAccess, StatusTextGoesOnlyToPartZero) {
  StatusBar* bar = window_->statusBar(状态条1);
  setStatusText(ids::QueryWindow, 状态条1, 0, "\xCE\xDE");  // 无
  EXPECT_EQ(bar->part(0)->text(), QStringLiteral("无"));
  EXPECT_EQ(bar->partText(0), "\xCE\xDE");
  setStatusText(ids::QueryWindow, 状态条1, 1, "one");
  setStatusText(ids::QueryWindow, 状态条1, -1, "minus one");
  EXPECT_EQ(bar->partText(0), "\xCE\xDE");
  setStatusText(ids::QueryWindow, 状态条1, 0, sharedEmptyText);
  EXPECT_TRUE(bar->part(0)->text().isEmpty());
}

TEST_F(ControlAccess, StatusTextWithTagsIsShownAsCharacters) {
  StatusBar* bar = window_->statusBar(状态条1);
  setStatusText(ids::QueryWindow, 状态条1, 0, "<img src='http://127.0.0.1:9/x.png'><b>bold</b>");
  EXPECT_EQ(bar->part(0)->textFormat(), Qt::PlainText);
  EXPECT_EQ(bar->part(0)->text(), QStringLiteral("<img src='http://127.0.0.1:9/x.png'><b>bold</b>"));
}

}  // namespace
}  // namespace quorvel
