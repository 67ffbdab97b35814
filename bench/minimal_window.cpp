// The baseline of the start-up benchmark: the least Qt Widgets program that shows a plain
// 310 x 127 window, built the same way as Quorvel.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral(" Minimal"));
  window.resize(310, 127);
  window.show();
  return QApplication::exec();
}
