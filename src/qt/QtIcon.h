#pragma once
// The application icon as Qt wants it: one picture per size for the window manager, and a
// pixmap for the About box.

#include <QIcon>
#include <QPixmap>

namespace zqar::platform {

QIcon applicationIcon();
QPixmap applicationPixmap(int size);

} // namespace zqar::platform
