// EditBox: a one-line edit box that keeps its text as GBK bytes.
//
// What the program writes is stored byte for byte (line breaks, bytes that are not valid
// GBK, texts longer than the typing limit) and read back unchanged; what the user types or
// pastes is converted from Unicode to GBK, '?' standing for what GBK cannot hold. The
// typing limit and the input filter bind only the user, never the program.
#pragma once

#include <QLineEdit>

#include <string>
#include <string_view>

#include "shell/window_definition.h"

namespace quorvel {

class EditBox : public QLineEdit {
 public:
  EditBox(int maxTypedLength, InputFilter filter, QWidget* parent);

  // The box's whole text as GBK bytes.
  const std::string& gbkText() const { return gbkText_; }
  // Replaces the whole text with these bytes, stored as they are.
  void writeGbkText(std::string_view bytes);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // What of `typed` the box takes: filtered, and cut to the room the typing limit leaves.
  QString admitted(const QString& typed, bool filter) const;
  void pasteAdmitted(const QString& pasted);
  void takeUserEdit(const QString& text);

  int maxTypedLength_;
  InputFilter filter_;
  std::string gbkText_;
};

}  // namespace quorvel
