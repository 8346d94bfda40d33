#include "ui/qt/qt_pictures.h"

#include <QPixmap>

namespace corvanthe::ui {

QImage qt_image(const RgbaImage& picture) {
    const QImage view(picture.pixels.data(), picture.width, picture.height, picture.width * 4,
                      QImage::Format_RGBA8888);
    return view.copy();
}

QIcon qt_icon(int32_t id) {
    const Picture* icon = find_picture(PictureKind::Icon, id);
    return icon ? QIcon(QPixmap::fromImage(qt_image(icon->image))) : QIcon();
}

QCursor qt_cursor(Cursor cursor) {
    const int32_t id = cursor == Cursor::OverPreview ? 109 : cursor == Cursor::Panning ? 107 : 0;
    const Picture* picture = id ? find_picture(PictureKind::Cursor, id) : nullptr;
    if (!picture) return QCursor(Qt::ArrowCursor);
    return QCursor(QPixmap::fromImage(qt_image(picture->image)), picture->hot_spot.x, picture->hot_spot.y);
}

}  // namespace corvanthe::ui
