// quorvel-icon-export DIR: writes the icon's eight images as DIR/<size>x<size>/apps/quorvel.png,
// the layout of the hicolor icon theme, for installing.
#include <QDir>
#include <QImage>

#include <cstdio>

#include "shell/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorvel-icon-export DIR\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int size : quorvel::kIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
    if (!QDir().mkpath(folder) || !quorvel::drawIconImage(size).save(folder + QStringLiteral("/quorvel.png"))) {
      std::fprintf(stderr, "quorvel-icon-export: cannot write the %dx%d image under %s\n", size, size, argv[1]);
      return 1;
    }
  }
  return 0;
}
