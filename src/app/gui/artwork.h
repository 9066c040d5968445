// The window's own artwork, drawn with QPainter at run time: the 17 folder
// images of the tree, the application icon and the banner pictures. The
// status-page images are GIF files compiled into the program's resources
// (resources/status, drawn by tools/draw-status-images.sh).
//
// UI thread only (pixmaps need the GUI application).
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace edbgui {

inline constexpr int kFolderImageCount = 17;

// The 16 × 16 image of tree image index `index` (0 to 16; others give 0).
QIcon FolderIcon(int index);
// The application icon: an envelope over a database drum.
QIcon ApplicationIcon();
QPixmap ApplicationPixmap(int size);
// A banner of `width` × `height` pixels showing `text`.
QPixmap BannerPixmap(int width, int height, const QString& text);

}  // namespace edbgui
