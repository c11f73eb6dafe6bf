#pragma once
// The photo-like pictures, stored as JPEG in the program and decoded with libjpeg.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace brisolt::gui {

// Names: "main_field" (489 x 305), "stones_2", "stones_5", "stones_10", "stones_15",
// "stones_20", "stones_25" (153 x 153), "feel_1" ... "feel_3" (209 x 207), "profile_1" ...
// "profile_9" (217 x 369), "emblems" (641 x 193), "imprint_drawing" (321 x 313).
// A null image for any other name or a picture that cannot be decoded.
QImage LoadPhoto(const QString& name);

// Decodes JPEG data with libjpeg; a null image for corrupt or unsupported data (never ends
// the program).
QImage DecodeJpeg(const QByteArray& data);

} // namespace brisolt::gui
