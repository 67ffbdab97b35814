// Result extraction through the real window: a reply body in, the status text out, row by row.
#include "query/result_extraction.h"

#include "query/program_holders.h"
#include "shell/control_access.h"
#include "shell/life_cycle.h"
#include "support/byte_array_variant.h"
#include "support/text_content.h"
#include "support/window_fixture.h"

namespace quorvel {
namespace {

struct Page {
  const char* name;
  std::string body;
  std::string result;
};

class ExtractionFixture : public testing::WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    initGlobals();
  }
  void TearDown() override {
    releaseGlobals();
    WindowFixture::TearDown();
  }

  std::string statusText() const { return window_->statusBar(ids::状态条1)->partText(0); }
};

class Extraction : public ExtractionFixture, public ::testing::WithParamInterface<Page> {};

TEST_P(Extraction, ShowsTheTextBetweenTheMarkers) {
  setStatusText(ids::QueryWindow, ids::状态条1, 0, "the previous result");
  testing::fillWithByteArray(ResponseVariant, GetParam().body);
  parkReplyInBuffer();
  showResult(extractResultLine());
  EXPECT_EQ(statusText(), GetParam().result);
  std::string parked = GetParam().body.substr(0, GetParam().body.find('\0'));
  EXPECT_EQ(editBox(ids::编辑框98)->gbkText(), parked);
}

const std::string k326(326, 'r');

INSTANTIATE_TEST_SUITE_P(
    Pages, Extraction,
    ::testing::Values(
        Page{"NoRecord", "<p>x';'>No record</font>y", "No record"},
        Page{"FirstMarkersOfSeveral", "</font>a';'>one</font>two';'>three</font>", "one"},
        Page{"GbkResult", "';'>\xC3\xBB\xD3\xD0\xBC\xC7\xC2\xBC</font>", "\xC3\xBB\xD3\xD0\xBC\xC7\xC2\xBC"},
        Page{"MarkerAbsentCutsFromTheThirdByte", "abcd</font>", "cd"},
        Page{"MarkerAbsentThirdByteIsASecondByte", "a\xBC\xAA" "b</font>", "\xAA" "b"},
        Page{"MarkerAbsentNoClosingTag", "abcdef", ""},
        Page{"MarkerAtTheVeryEnd", "text';'>", ""},
        Page{"ClosingRightAfterTheMarker", "';'></font>rest", ""},
        Page{"ClosingBeyondTheWindow", "';'>" + std::string(400, 'x') + "</font>", ""},
        Page{"ClosingStartsInsideEndsOutside", "';'>" + std::string(330, 'x') + "</font>", ""},
        Page{"Exactly326BytesBetween", "';'>" + k326 + "</font>", k326},
        Page{"327BytesBetween", "';'>" + k326 + "r</font>", ""},
        Page{"CapitalClosingTag", "';'>shout</FONT>", ""},
        Page{"ZeroByteBeforeTheMarkers", std::string("ab\0';'>hidden</font>", 20), ""},
        Page{"ZeroByteAfterTheResult", std::string("';'>seen</font>\0rest", 20), "seen"},
        Page{"SecondByteLooksLikeAMarkerByte", "\xB0';'>x</font>';'>real</font>", "real"},
        Page{"ClosingTagHiddenInADoubleByteCharacter", "';'>a\xB0</font>b</font>", "a\xB0</font>b"},
        Page{"EmptyBody", "", ""},
        Page{"MarkupInTheResult", "';'><b>bold</b></font>", "<b>bold</b>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractionFixture, NoReplyAtAllEmptiesTheBufferAndTheStatus) {
  writeControlText(ids::QueryWindow, ids::编辑框98, "old page';'>old</font>");
  setStatusText(ids::QueryWindow, ids::状态条1, 0, "old");
  clearVariant(ResponseVariant);
  parkReplyInBuffer();
  showResult(extractResultLine());
  EXPECT_EQ(statusText(), "");
  EXPECT_EQ(editBox(ids::编辑框98)->gbkText(), "");
}

}  // namespace
}  // namespace quorvel
