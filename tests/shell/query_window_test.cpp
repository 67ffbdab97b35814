// QueryWindow on the offscreen platform: its start state, place, keys, focus cycle and input filter.
#include "shell/query_window.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "support/window_fixture.h"

namespace quorvel {
namespace {

using namespace ids;
using Window = testing::WindowFixture;

TEST_F(Window, StartsWithItsTextsAndTheFocusOnTheButton) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral(" Quorvel"));
  EXPECT_EQ(editBox(编辑框1)->text(), QStringLiteral("吉H"));
  EXPECT_EQ(editBox(编辑框1)->cursorPosition(), 0);
  EXPECT_FALSE(editBox(编辑框1)->hasSelectedText());
  EXPECT_TRUE(editBox(编辑框2)->text().isEmpty());
  EXPECT_TRUE(editBox(编辑框98)->text().isEmpty());
  EXPECT_TRUE(window_->statusBar(状态条1)->part(0)->text().isEmpty());
  EXPECT_EQ(qobject_cast<QPushButton*>(control(按钮1))->text(), QStringLiteral("查询"));
  EXPECT_EQ(qobject_cast<QLabel*>(control(标签1))->text(), QStringLiteral("车牌号："));
  EXPECT_EQ(qobject_cast<QLabel*>(control(标签2))->text(), QStringLiteral("车辆识别代码后4位："));
  EXPECT_EQ(focused(), control(按钮1));
}

TEST_F(Window, IsCentredAtItsFixedOuterSizeAndCannotBeMaximised) {
  // Without a window manager there is no frame: the client area is the outer size.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window_->frameGeometry().size(), QSize(310, 127));
  EXPECT_EQ(window_->frameGeometry().topLeft(), QPoint((screen.width() - 310) / 2, (screen.height() - 127) / 2));
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
  EXPECT_TRUE(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window_->windowIcon().availableSizes(), (QList<QSize>{{48, 48}, {16, 16}}));
}

TEST_F(Window, LaysOutTheControlsAsDefined) {
  EXPECT_EQ(control(分组框1)->geometry(), QRect(0, -4, 304, 84));
  EXPECT_EQ(control(编辑框1)->geometry(), QRect(128, 14, 80, 20));
  EXPECT_EQ(control(按钮1)->geometry(), QRect(215, 15, 80, 46));
  EXPECT_EQ(control(编辑框1)->parentWidget(), control(分组框1));
  // The parked box lies inside the group box, far below what the group box shows.
  EXPECT_EQ(control(编辑框98)->geometry(), QRect(167, 248, 80, 20));
  EXPECT_TRUE(control(编辑框98)->isVisible());
  EXPECT_TRUE(control(编辑框98)->visibleRegion().isEmpty());
  // The status bar is docked at the bottom over the whole width; its part ends at 305.
  QWidget* bar = control(状态条1);
  EXPECT_EQ(bar->geometry().bottom(), window_->height() - 1);
  EXPECT_EQ(bar->width(), window_->width());
  EXPECT_EQ(window_->statusBar(状态条1)->part(0)->geometry().right() + 1, 305);
}

TEST_F(Window, TabRunsTheFocusCycleBothWays) {
  const std::vector<QWidget*> forward = {control(编辑框1), control(编辑框2), control(编辑框98), control(按钮1)};
  for (QWidget* expected : forward) {
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), expected) << expected->objectName().toStdString();
  }
  const std::vector<QWidget*> backward = {control(编辑框98), control(编辑框2), control(编辑框1), control(按钮1)};
  for (QWidget* expected : backward) {
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), expected) << expected->objectName().toStdString();
  }
}

TEST_F(Window, EnterStartsNothingAndMovesNothing) {
  for (ControlId id : {按钮1, 编辑框1, 编辑框2}) {
    control(id)->setFocus();
    press(Qt::Key_Return);
    press(Qt::Key_Enter);
    EXPECT_EQ(focused(), control(id));
  }
  EXPECT_TRUE(events_.empty());
}

TEST_F(Window, SpaceOnTheFocusedButtonClicksIt) {
  press(Qt::Key_Space);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].first, 按钮1);
  EXPECT_EQ(events_[0].second, WindowEvent::clicked);
}

class EscapeFrom : public testing::WindowFixture, public ::testing::WithParamInterface<ControlId> {};

TEST_P(EscapeFrom, ClosesTheWindow) {
  control(GetParam())->setFocus();
  press(Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window_.isNull());
}

INSTANTIATE_TEST_SUITE_P(EachControl, EscapeFrom, ::testing::Values(ids::按钮1, ids::编辑框1, ids::编辑框2, ids::编辑框98));

TEST_F(Window, FocusComesBackToTheLastControlOnReactivation) {
  control(编辑框2)->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  EXPECT_EQ(focused(), control(编辑框2));
}

struct Typing {
  const char* name;
  QString keys;
  QString expected;
};

class CodeBoxTyping : public testing::WindowFixture, public ::testing::WithParamInterface<Typing> {};

TEST_P(CodeBoxTyping, KeepsDigitsAndMinusUpToFourCharacters) {
  control(编辑框2)->setFocus();
  type(GetParam().keys);
  EXPECT_EQ(editBox(编辑框2)->text(), GetParam().expected);
  EXPECT_EQ(editBox(编辑框2)->gbkText(), GetParam().expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Keys, CodeBoxTyping,
                         ::testing::Values(Typing{"LetterDropped", "12a45", "1245"},
                                           Typing{"FifthRefused", "123456", "1234"},
                                           Typing{"MinusKept", "-12-", "-12-"},
                                           Typing{"PunctuationAndSpaceDropped", "1 .+2", "12"},
                                           Typing{"ChineseDropped", QStringLiteral("吉1"), "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Window, CodeBoxBackspaceStillWorksAtTheLimit) {
  control(编辑框2)->setFocus();
  QTest::keyClicks(focused(), "1234");
  press(Qt::Key_Backspace);
  QTest::keyClicks(focused(), "9");
  EXPECT_EQ(editBox(编辑框2)->text(), QStringLiteral("1239"));
}

TEST_F(Window, PastingIntoTheCodeBoxTakesWhatFitsUnfiltered) {
  control(编辑框2)->setFocus();
  QTest::keyClicks(focused(), "1");
  QApplication::clipboard()->setText(QStringLiteral("ab345"));
  press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(editBox(编辑框2)->text(), QStringLiteral("1ab3"));
  EXPECT_EQ(editBox(编辑框2)->gbkText(), "1ab3");
}

TEST_F(Window, TypedTextIsKeptAsGbk) {
  control(编辑框1)->setFocus();
  editBox(编辑框1)->end(false);
  type(QStringLiteral("a12癮€ก"));
  EXPECT_EQ(editBox(编辑框1)->gbkText(), "\xBC\xAA" "Ha12\xB0\x61\x80?");
}

TEST_F(Window, EditBoxesCarryTheNamesOfTheirLabels) {
  EXPECT_EQ(control(编辑框1)->accessibleName(), QStringLiteral("车牌号："));
  EXPECT_EQ(control(编辑框2)->accessibleName(), QStringLiteral("车辆识别代码后4位："));
}

}  // namespace
}  // namespace quorvel
