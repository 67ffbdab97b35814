// quorvel: the process entry. Brings up the toolkit, runs the program, shuts it down.
#include <QApplication>

#include "shell/life_cycle.h"

namespace {

QtMessageHandler toolkitMessageHandler = nullptr;

// The toolkit ends the process itself when it cannot work at all (no display to open a
// window on, say): that is the program's fatal stop, reported and ended as such.
void routeToolkitMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) quorvel::reportFatalError(("The window cannot be created: " + message).toStdString());
  toolkitMessageHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  toolkitMessageHandler = qInstallMessageHandler(routeToolkitMessages);
  // Until the toolkit stands, a fatal message cannot go into a box.
  quorvel::setFatalMessagePresenter(quorvel::showFatalMessageOnStandardError);
  QApplication application(argc, argv);
  quorvel::setFatalMessagePresenter(nullptr);
  QApplication::setApplicationName(QStringLiteral("Quorvel"));
  QApplication::setDesktopFileName(QStringLiteral("quorvel"));
  const int status = quorvel::programMain();
  quorvel::shutDown();
  return status;
}
