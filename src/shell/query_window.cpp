// QueryWindow's realisation in Qt widgets: factories per kind, keys, focus cycle, size and place.
#include "shell/query_window.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QGuiApplication>

#include <algorithm>

#include "shell/app_icon.h"
#include "shell/gbk_text.h"

namespace quorvel {
namespace {

void paintInButtonFace(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// The program's open windows (one, QueryWindow, while it runs).
std::vector<QueryWindow*> openWindows;

void place(QWidget* widget, const Rect& rect) { widget->setGeometry(rect.left, rect.top, rect.width, rect.height); }

}  // namespace

StatusBar::StatusBar(int partRightEdge, QWidget* parent) : QStatusBar(parent), partRightEdge_(partRightEdge) {
  setSizeGripEnabled(false);
  paintInButtonFace(this);
  auto* part = new QLabel(this);
  part->setTextFormat(Qt::PlainText);  // whatever a server sends is shown as characters, never rendered
  part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  part->setTextInteractionFlags(Qt::NoTextInteraction);
  parts_.push_back(part);
  partTexts_.emplace_back();
  setAccessibleName(QStringLiteral("Status"));
}

void StatusBar::setPartText(int index, std::string_view bytes) {
  if (index < 0 || index >= partCount()) return;
  partTexts_[static_cast<std::size_t>(index)].assign(bytes);
  QLabel* label = parts_[static_cast<std::size_t>(index)];
  label->setText(qStringFromGbk(bytes));
  label->setAccessibleName(label->text());
}

void StatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  // The part runs from the bar's left edge to its right edge, inset by a pixel top and bottom.
  parts_.front()->setGeometry(0, 1, partRightEdge_, std::max(height() - 2, 0));
}

QueryWindow::QueryWindow(const WindowDefinition& definition, WindowEventSink sink)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      definition_(definition),
      sink_(std::move(sink)) {
  setWindowTitle(qStringFromGbk(definition.caption));
  setWindowIcon(quorvelIcon());
  setAttribute(Qt::WA_DeleteOnClose);
  paintInButtonFace(this);
  setFixedSize(definition.outerWidth, definition.outerHeight);  // until the frame is known

  // Parents first: a control is made once the control it lies in exists.
  std::vector<const ControlDefinition*> pending;
  for (const ControlDefinition& control : definition.controls) pending.push_back(&control);
  while (!pending.empty()) {
    auto ready = std::find_if(pending.begin(), pending.end(), [&](const ControlDefinition* control) {
      return control->parent == definition.id || controls_.count(control->parent) != 0;
    });
    if (ready == pending.end()) break;  // a control whose parent is missing is left out
    QWidget* parent = (*ready)->parent == definition.id ? this : controls_.at((*ready)->parent);
    controls_[(*ready)->id] = makeControl(**ready, parent);
    pending.erase(ready);
  }
  // Smaller places lie above larger ones: raise siblings from the largest place down.
  std::vector<const ControlDefinition*> byPlace;
  for (const ControlDefinition& control : definition.controls) byPlace.push_back(&control);
  std::sort(byPlace.begin(), byPlace.end(), [](auto* a, auto* b) { return a->place > b->place; });
  for (const ControlDefinition* control : byPlace) {
    if (QWidget* widget = this->control(control->id)) widget->raise();
  }
  buildFocusCycle();
  nameEditBoxesAfterTheirLabels();
  openWindows.push_back(this);
}

QueryWindow::~QueryWindow() { std::erase(openWindows, this); }

QueryWindow* QueryWindow::find(WindowId id) {
  auto found = std::find_if(openWindows.begin(), openWindows.end(), [id](QueryWindow* w) { return w->id() == id; });
  return found == openWindows.end() ? nullptr : *found;
}

bool QueryWindow::anyOpen() { return !openWindows.empty(); }

QWidget* QueryWindow::makeControl(const ControlDefinition& control, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::editBox: {
      auto* box = new EditBox(control.maxTypedLength, control.filter, parent);
      box->writeGbkText(control.text);
      widget = box;
      break;
    }
    case ControlKind::label: {
      auto* label = new QLabel(qStringFromGbk(control.text), parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
      paintInButtonFace(label);
      widget = label;
      break;
    }
    case ControlKind::pushButton: {
      auto* button = new QPushButton(qStringFromGbk(control.text), parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      const ControlId id = control.id;
      connect(button, &QPushButton::clicked, this, [this, id] { sink_(id, WindowEvent::clicked); });
      widget = button;
      break;
    }
    case ControlKind::groupBox: {
      auto* group = new QGroupBox(qStringFromGbk(control.text), parent);
      paintInButtonFace(group);
      widget = group;
      break;
    }
    case ControlKind::statusBar:
      widget = new StatusBar(control.statusPartRightEdge, parent);
      break;
  }
  widget->setObjectName(QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size())));
  widget->setFocusPolicy(control.tabStop ? Qt::StrongFocus : Qt::NoFocus);
  widget->installEventFilter(this);
  if (control.kind != ControlKind::statusBar) place(widget, control.rect);
  return widget;
}

void QueryWindow::buildFocusCycle() {
  std::vector<const ControlDefinition*> stops;
  for (const ControlDefinition& control : definition_.controls) {
    if (control.tabStop && controls_.count(control.id)) stops.push_back(&control);
  }
  std::stable_sort(stops.begin(), stops.end(), [](auto* a, auto* b) {
    return a->tabOrder != b->tabOrder ? a->tabOrder < b->tabOrder : a->place > b->place;
  });
  for (const ControlDefinition* control : stops) focusCycle_.push_back(controls_.at(control->id));
}

void QueryWindow::nameEditBoxesAfterTheirLabels() {
  // Assistive technology reads an edit box by the label on its line.
  for (const ControlDefinition& control : definition_.controls) {
    if (control.kind != ControlKind::label) continue;
    for (const ControlDefinition& box : definition_.controls) {
      if (box.kind == ControlKind::editBox && box.parent == control.parent &&
          std::abs(box.rect.top - control.rect.top) <= 4) {
        controls_.at(box.id)->setAccessibleName(qStringFromGbk(control.text));
      }
    }
  }
}

QWidget* QueryWindow::control(ControlId id) const {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

EditBox* QueryWindow::editBox(ControlId id) const { return dynamic_cast<EditBox*>(control(id)); }

StatusBar* QueryWindow::statusBar(ControlId id) const { return dynamic_cast<StatusBar*>(control(id)); }

void QueryWindow::showAndActivate() {
  // Before show: the native window is made at this size and place, which the window manager
  // takes as where the window starts (showEvent alone comes too late for that).
  fitOuterSizeAndCentre();
  show();
  activateWindow();
  if (!focusCycle_.empty()) focusCycle_.front()->setFocus(Qt::ActiveWindowFocusReason);
}

bool QueryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
      close();
      return true;
    }
    if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      moveFocus(!(key->modifiers() & Qt::ShiftModifier));
      return true;
    }
    if (key->key() == Qt::Key_Backtab) {
      moveFocus(false);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void QueryWindow::moveFocus(bool forward) {
  if (focusCycle_.empty()) return;
  auto current = std::find(focusCycle_.begin(), focusCycle_.end(), focusWidget());
  std::size_t at = current == focusCycle_.end() ? 0 : static_cast<std::size_t>(current - focusCycle_.begin());
  std::size_t count = focusCycle_.size();
  std::size_t next = forward ? (at + 1) % count : (at + count - 1) % count;
  focusCycle_[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void QueryWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  fitOuterSizeAndCentre();
}

void QueryWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // A window manager tells the frame's size only after the window is shown.
  if (frameGeometry().size() - size() != fittedFrame_) fitOuterSizeAndCentre();
}

void QueryWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The status bar is docked at the bottom over the whole width, whatever its stored rectangle.
  for (const ControlDefinition& control : definition_.controls) {
    if (control.kind != ControlKind::statusBar) continue;
    QWidget* bar = controls_.at(control.id);
    int barHeight = bar->sizeHint().height();
    bar->setGeometry(0, height() - barHeight, width(), barHeight);
  }
}

void QueryWindow::fitOuterSizeAndCentre() {
  const QSize frame = frameGeometry().size() - size();
  fittedFrame_ = frame;
  setFixedSize(definition_.outerWidth - frame.width(), definition_.outerHeight - frame.height());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  move(screen.x() + (screen.width() - definition_.outerWidth) / 2,
       screen.y() + (screen.height() - definition_.outerHeight) / 2);
}

}  // namespace quorvel
