// The edit box's GBK storage, its typing limit and its input filter.
#include "shell/edit_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <limits>

#include "shell/gbk_text.h"

namespace quorvel {
namespace {

bool passesFilter(QChar c, InputFilter filter) {
  if (filter == InputFilter::none || c.unicode() < 0x20) return true;
  return (c >= u'0' && c <= u'9') || c == u'-';
}

}  // namespace

EditBox::EditBox(int maxTypedLength, InputFilter filter, QWidget* parent)
    : QLineEdit(parent), maxTypedLength_(maxTypedLength), filter_(filter) {
  // QLineEdit's own limit would also cut what the program writes; this box keeps its own.
  setMaxLength(std::numeric_limits<int>::max());
  setFrame(true);
  setDragEnabled(false);
  setAcceptDrops(false);
  connect(this, &QLineEdit::textEdited, this, &EditBox::takeUserEdit);
}

void EditBox::writeGbkText(std::string_view bytes) {
  gbkText_.assign(bytes);
  setText(qStringFromGbk(bytes));
  setCursorPosition(0);
}

void EditBox::takeUserEdit(const QString& text) { gbkText_ = gbkFromQString(text); }

QString EditBox::admitted(const QString& typed, bool filter) const {
  QString kept;
  for (QChar c : typed) {
    if (!filter || passesFilter(c, filter_)) kept += c;
  }
  if (maxTypedLength_ > 0) {
    qsizetype room = maxTypedLength_ - (text().size() - selectedText().size());
    kept.truncate(std::max<qsizetype>(room, 0));
  }
  return kept;
}

void EditBox::pasteAdmitted(const QString& pasted) {
  // Pasted text is not filtered, but it counts against the typing limit.
  QString kept = admitted(pasted, false);
  if (!kept.isEmpty()) insert(kept);
}

void EditBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    pasteAdmitted(QApplication::clipboard()->text());
    return;
  }
  const QString typed = event->text();
  const bool printable = !typed.isEmpty() && typed.front().unicode() >= 0x20 && typed.front() != QChar(0x7F);
  if (printable) {
    QString kept = admitted(typed, true);
    if (kept.isEmpty()) return;  // dropped before the box sees it
    if (kept != typed) {
      QKeyEvent narrowed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat());
      QLineEdit::keyPressEvent(&narrowed);
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void EditBox::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent narrowed(event->preeditString(), event->attributes());
  narrowed.setCommitString(admitted(event->commitString(), true), event->replacementStart(), event->replacementLength());
  QLineEdit::inputMethodEvent(&narrowed);
}

void EditBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
    pasteAdmitted(QApplication::clipboard()->text(QClipboard::Selection));
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  // The menu's Paste goes through the same limit as Ctrl+V.
  for (QAction* action : menu->actions()) {
    if (action->objectName() == QLatin1String("edit-paste")) {
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      connect(action, &QAction::triggered, this, [this] { pasteAdmitted(QApplication::clipboard()->text()); });
    }
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

}  // namespace quorvel
