// QueryWindow: the program's one window, made from its definition by one small factory per kind.
//
// The window owns its controls and answers the window-level keys itself, before the
// focused control sees them: Esc closes the window, Tab and Shift+Tab run the focus cycle
// of the definition (tab stops, by tab order, then by descending place). Its outer size
// is the definition's, frame included, and it stands centred on the whole primary screen.
// It raises one kind of event to the life cycle: a click of a push button.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/edit_box.h"
#include "shell/window_definition.h"

namespace quorvel {

enum class WindowEvent { created, clicked };

// Receives the events the window raises: the source's id and what happened.
using WindowEventSink = std::function<void(std::uint32_t sourceId, WindowEvent event)>;

// A status bar with one part, whose text is kept as GBK bytes and shown as plain text.
class StatusBar : public QStatusBar {
 public:
  StatusBar(int partRightEdge, QWidget* parent);

  int partCount() const { return 1; }
  const std::string& partText(int index) const { return partTexts_.at(static_cast<std::size_t>(index)); }
  void setPartText(int index, std::string_view bytes);
  QLabel* part(int index) const { return parts_.at(static_cast<std::size_t>(index)); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int partRightEdge_;
  std::vector<QLabel*> parts_;
  std::vector<std::string> partTexts_;
};

class QueryWindow : public QWidget {
 public:
  QueryWindow(const WindowDefinition& definition, WindowEventSink sink);
  ~QueryWindow() override;

  // The open window with this id, or nullptr.
  static QueryWindow* find(WindowId id);
  static bool anyOpen();

  WindowId id() const { return definition_.id; }
  QWidget* control(ControlId id) const;
  EditBox* editBox(ControlId id) const;
  StatusBar* statusBar(ControlId id) const;
  // Shows the window at its place and size and gives the focus to the first control of the cycle.
  void showAndActivate();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* makeControl(const ControlDefinition& control, QWidget* parent);
  void buildFocusCycle();
  void nameEditBoxesAfterTheirLabels();
  void moveFocus(bool forward);
  // Sizes the client area so that the outer size, frame included, is the definition's, and
  // centres the window on the screen. Runs again whenever the frame turns out different.
  void fitOuterSizeAndCentre();

  const WindowDefinition& definition_;
  WindowEventSink sink_;
  std::map<ControlId, QWidget*> controls_;
  std::vector<QWidget*> focusCycle_;
  QSize fittedFrame_{-1, -1};
};

}  // namespace quorvel
