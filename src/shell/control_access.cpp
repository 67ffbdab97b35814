// Control access over the open QueryWindow's edit boxes and status bar.
#include "shell/control_access.h"

#include "shell/query_window.h"

namespace quorvel {
namespace {

EditBox* findEditBox(WindowId window, ControlId control) {
  QueryWindow* open = QueryWindow::find(window);
  return open == nullptr ? nullptr : open->editBox(control);
}

}  // namespace

TextValue readControlText(WindowId window, ControlId control) {
  EditBox* box = findEditBox(window, control);
  return box == nullptr ? TextValue() : textFromBytes(box->gbkText());
}

void writeControlText(WindowId window, ControlId control, TextRef text) {
  if (EditBox* box = findEditBox(window, control)) box->writeGbkText(text.view());
}

void setStatusText(WindowId window, ControlId control, std::int32_t index, TextRef text) {
  QueryWindow* open = QueryWindow::find(window);
  StatusBar* bar = open == nullptr ? nullptr : open->statusBar(control);
  if (bar != nullptr) bar->setPartText(index, text.view());
}

}  // namespace quorvel
