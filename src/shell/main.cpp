// quorvel: the process entry. Brings up the toolkit, runs the program, shuts it down.
#include <QApplication>

#include "shell/life_cycle.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  QApplication::setDesktopFileName(QStringLiteral("quorvel"));
  const int status = quorvel::programMain();
  quorvel::shutDown();
  return status;
}
