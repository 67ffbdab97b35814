// Quorvel's icon: a car under a magnifying glass, drawn in code at eight sizes.
#pragma once

#include <QIcon>
#include <QImage>

namespace quorvel {

// The sizes of the icon's images, in pixels square, largest first.
inline constexpr int kIconSizes[] = {128, 96, 72, 64, 48, 32, 24, 16};

// One image of the icon, 32 bits per pixel with alpha, drawn from its shapes. The build
// draws all eight once and builds their pixels into the program (quorvel-icon-export).
QImage drawIconImage(int size);

// The icon with all eight images, from the pixels built into the program.
QIcon quorvelIcon();

}  // namespace quorvel
