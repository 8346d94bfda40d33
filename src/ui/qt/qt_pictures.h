#pragma once
// The dialog's pictures as Qt images, icons and cursors.
#include <QCursor>
#include <QIcon>
#include <QImage>

#include "ui/pictures.h"
#include "ui/port.h"

namespace corvanthe::ui {

// A copy of the picture (straight RGBA) as a Qt image.
QImage qt_image(const RgbaImage& picture);
// The icon picture of that number; an empty icon when there is none.
QIcon qt_icon(int32_t id);
// The dialog's cursor for the logic's request.
QCursor qt_cursor(Cursor cursor);

}  // namespace corvanthe::ui
