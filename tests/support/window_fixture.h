// A QueryWindow made from the program's definition, shown and active, with its events recorded.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>

#include <utility>
#include <vector>

#include "shell/query_window.h"

namespace quorvel::testing {

class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = new QueryWindow(*findWindowDefinition(ids::QueryWindow),
                              [this](std::uint32_t source, WindowEvent event) { handle(source, event); });
    window_->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.data()));
  }
  void TearDown() override { delete window_.data(); }

  // What becomes of the window's events: recorded, unless a fixture handles them itself.
  virtual void handle(std::uint32_t source, WindowEvent event) { events_.emplace_back(source, event); }

  QWidget* control(ControlId id) const { return window_->control(id); }
  EditBox* editBox(ControlId id) const { return window_->editBox(id); }
  QWidget* focused() const { return QApplication::focusWidget(); }
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
  }
  // Types each character as a key press carrying it, as a keyboard or input method would;
  // unlike QTest::keyClicks it takes characters outside ASCII too.
  void type(const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(focused(), &press);
      QApplication::sendEvent(focused(), &release);
    }
  }

  QPointer<QueryWindow> window_;
  std::vector<std::pair<std::uint32_t, WindowEvent>> events_;
};

}  // namespace quorvel::testing
