// Quorvel's icon: a car under a magnifying glass, drawn in code at eight sizes.
#pragma once

#include <QIcon>
#include <QImage>

namespace quorvel {

// The sizes of the icon's images, in pixels square, largest first. All eight are installed in
// the icon theme, where menus, launchers and docks take the size they need.
inline constexpr int kIconSizes[] = {128, 96, 72, 64, 48, 32, 24, 16};

// The window's own large and small icon, which title bars, task bars and window switchers
// show. Only these two are built into the program: every image of a window's icon is copied
// at start and sent to the window manager, so the six larger theme sizes would only cost
// memory there.
inline constexpr int kWindowIconSizes[] = {48, 16};

// One image of the icon, 32 bits per pixel with alpha, drawn from its shapes. The build
// draws them once (quorvel-icon-export): the theme's files and the window's pixels.
QImage drawIconImage(int size);

// The window's icon, its large and small image, from the pixels built into the program.
QIcon quorvelIcon();

}  // namespace quorvel
