#include "qt/QtIcon.h"

#include "platform/icon/applicationIcon.h"

#include <QImage>

#include <cstring>

namespace zqar::platform {

QPixmap applicationPixmap(int size) {
    const std::vector<uint32_t> pixels = applicationIconPixels(size);
    if (pixels.empty())
        return QPixmap();
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        std::memcpy(image.scanLine(y), pixels.data() + static_cast<std::size_t>(y) * size,
                    static_cast<std::size_t>(size) * sizeof(uint32_t));
    return QPixmap::fromImage(image);
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : ICON_SIZES)
        icon.addPixmap(applicationPixmap(size));
    return icon;
}

} // namespace zqar::platform
