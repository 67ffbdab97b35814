// A second baseline for the start-up benchmark: the plain 310 x 127 window with one Chinese
// label and one line edit. Showing any text brings up the toolkit's font database and loads a
// CJK font, which the plain window never does; beside this program the benchmark shows what
// Quorvel costs beyond showing text at all.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral(" Minimal"));
  window.resize(310, 127);
  QLabel label(QStringLiteral("车牌号："), &window);
  label.move(80, 12);
  QLineEdit edit(QStringLiteral("吉H"), &window);
  edit.move(128, 14);
  window.show();
  return QApplication::exec();
}
