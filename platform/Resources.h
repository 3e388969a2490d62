#pragma once
// The string table and images kept in the program's resources.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace platform {

// A string-table entry; empty when there is none.
QString loadString(int id);
// The application icon, 32 and 16 pixels.
QIcon applicationIcon();
// An image resource by its name in the templates ("splash.bmp", "icon").
QPixmap loadImage(const QString& name);

} // namespace platform
