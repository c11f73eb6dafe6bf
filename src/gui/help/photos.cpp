#include "gui/help/photos.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// The pictures live in a static library, so their resource must be registered by hand; the
// macro has to be used outside any namespace.
static void RegisterPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace brisolt::gui {

namespace {

// libjpeg's own error handler ends the program; this one jumps back into DecodeJpeg.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

[[noreturn]] void FailDecoding(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->back, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Decodes into `image`; false on any libjpeg error. Kept apart from DecodeJpeg so that no
// object with a destructor lives in the frame that longjmp returns to.
bool Decode(const unsigned char* bytes, unsigned long size, QImage* image) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = FailDecoding;
    errors.base.output_message = IgnoreMessage;
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB; // libjpeg expands grayscale to RGB
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB888);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    // libjpeg pads a file that ends early, or skips over damaged data, with only a warning;
    // such a picture counts as broken.
    return errors.base.num_warnings == 0;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) {
        return {};
    }
    QImage image;
    if (!Decode(reinterpret_cast<const unsigned char*>(data.constData()),
                static_cast<unsigned long>(data.size()), &image)) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage LoadPhoto(const QString& name) {
    RegisterPictures();
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return {};
    }
    QFile file(QStringLiteral(":/pictures/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return DecodeJpeg(file.readAll());
}

} // namespace brisolt::gui
