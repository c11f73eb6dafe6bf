#include "gui/help/photos.h"

namespace brisolt::gui {

QImage LoadPhoto(const QString&) { return {}; }
QImage DecodeJpeg(const QByteArray&) { return {}; }

} // namespace brisolt::gui
