// The photo-like pictures: stored JPEGs load at their sizes, show what they claim, and bad JPEG
// data gives a null image instead of ending the program.

#include <QFile>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "gui/help/photos.h"

using namespace brisolt::gui;

namespace {

// Encodes raw pixels (`components` bytes each, in `space`) with libjpeg into memory.
QByteArray Encode(int width, int height, int components, J_COLOR_SPACE space,
                  const std::vector<unsigned char>& pixels) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(pixels.data() + info.next_scanline * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray data(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return data;
}

// 32 x 16 pixels: left half pure red, right half pure blue.
QByteArray RedBlueJpeg() {
    std::vector<unsigned char> pixels;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool red = x < 16;
            pixels.insert(pixels.end(), {static_cast<unsigned char>(red ? 230 : 10), 10,
                                         static_cast<unsigned char>(red ? 10 : 230)});
        }
    }
    return Encode(32, 16, 3, JCS_RGB, pixels);
}

bool Near(QRgb pixel, int r, int g, int b) {
    return qAbs(qRed(pixel) - r) <= 12 && qAbs(qGreen(pixel) - g) <= 12 &&
           qAbs(qBlue(pixel) - b) <= 12;
}

// Stones are light grey, the soil around them brown and far darker.
bool IsStone(QRgb pixel) {
    return (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3 > 135;
}

// Moist soil is dark brown; the skin is light and reddish; the meadow behind is green.
bool IsSoil(QRgb pixel) {
    return qGray(pixel) < 90 && qRed(pixel) > qGreen(pixel) && qGreen(pixel) + 4 >= qBlue(pixel);
}
bool IsSkin(QRgb pixel) {
    return qGray(pixel) > 110 && qRed(pixel) > qGreen(pixel) + 20 && qGreen(pixel) > qBlue(pixel);
}

// A connected patch of soil pixels: its size and how elongated it is (the square root of the
// ratio of its principal second moments: 1 for a disc, large for a thread).
struct Patch {
    int pixels = 0;
    double elongation = 1;
};

// The soil patches of at least three pixels, largest first.
std::vector<Patch> SoilPatches(const QImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    std::vector<char> seen(static_cast<std::size_t>(w) * h, 0);
    std::vector<Patch> patches;
    for (int y0 = 0; y0 < h; ++y0) {
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen[y0 * w + x0] || !IsSoil(picture.pixel(x0, y0))) {
                continue;
            }
            std::vector<QPoint> stack{{x0, y0}};
            seen[y0 * w + x0] = 1;
            double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                n += 1;
                sx += p.x();
                sy += p.y();
                sxx += double(p.x()) * p.x();
                syy += double(p.y()) * p.y();
                sxy += double(p.x()) * p.y();
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int x = p.x() + dx;
                        const int y = p.y() + dy;
                        if (x >= 0 && y >= 0 && x < w && y < h && !seen[y * w + x] &&
                            IsSoil(picture.pixel(x, y))) {
                            seen[y * w + x] = 1;
                            stack.push_back({x, y});
                        }
                    }
                }
            }
            if (n < 3) {
                continue;
            }
            const double cxx = sxx / n - (sx / n) * (sx / n) + 1.0 / 12;
            const double cyy = syy / n - (sy / n) * (sy / n) + 1.0 / 12;
            const double cxy = sxy / n - (sx / n) * (sy / n);
            const double mean = (cxx + cyy) / 2;
            const double spread = std::sqrt((cxx - cyy) * (cxx - cyy) / 4 + cxy * cxy);
            patches.push_back({int(n), std::sqrt((mean + spread) / (mean - spread))});
        }
    }
    std::sort(patches.begin(), patches.end(),
              [](const Patch& a, const Patch& b) { return a.pixels > b.pixels; });
    return patches;
}

} // namespace

class PhotosTest : public QObject {
    Q_OBJECT
private slots:
    void everyPictureLoadsAtItsSize_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("main_field") << "main_field" << QSize(489, 305);
        for (int share : {2, 5, 10, 15, 20, 25}) {
            const QString name = QString("stones_%1").arg(share);
            QTest::newRow(qPrintable(name)) << name << QSize(153, 153);
        }
        for (int i = 1; i <= 3; ++i) {
            const QString name = QString("feel_%1").arg(i);
            QTest::newRow(qPrintable(name)) << name << QSize(209, 207);
        }
        for (int i = 1; i <= 9; ++i) {
            const QString name = QString("profile_%1").arg(i);
            QTest::newRow(qPrintable(name)) << name << QSize(217, 369);
        }
        QTest::newRow("emblems") << "emblems" << QSize(641, 193);
        QTest::newRow("imprint_drawing") << "imprint_drawing" << QSize(321, 313);
    }

    void everyPictureLoadsAtItsSize() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage picture = LoadPhoto(name);
        QVERIFY2(!picture.isNull(), qPrintable(name));
        QCOMPARE(picture.size(), size);
        QVERIFY(!picture.hasAlphaChannel());
    }

    void unknownNamesGiveNullImages() {
        QVERIFY(LoadPhoto("").isNull());
        QVERIFY(LoadPhoto("stones_30").isNull());
        QVERIFY(LoadPhoto("profile_10").isNull());
        QVERIFY(LoadPhoto("../pictures/main_field").isNull());
    }

    void stonesCoverTheShareInTheirCaption_data() {
        QTest::addColumn<int>("share");
        for (int share : {2, 5, 10, 15, 20, 25}) {
            QTest::newRow(qPrintable(QString("%1%").arg(share))) << share;
        }
    }

    void stonesCoverTheShareInTheirCaption() {
        QFETCH(int, share);
        const QImage picture = LoadPhoto(QString("stones_%1").arg(share));
        QVERIFY(!picture.isNull());
        int stones = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                stones += IsStone(picture.pixel(x, y)) ? 1 : 0;
            }
        }
        const double measured = 100.0 * stones / (picture.width() * picture.height());
        QVERIFY2(qAbs(measured - share) <= 0.5,
                 qPrintable(QString("measured %1 % for %2 %").arg(measured).arg(share)));
    }

    // Each feel-test photo shows its own test: soil crumbling between the fingers (many small
    // crumbs), a ball formed in the palm (one large round patch), a rolled thread (one long
    // thin patch); the hands are shaded like photographed hands, not flat colour.
    void feelTestPhotosShowTheirOwnTest_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minPatches");
        QTest::addColumn<double>("minLargestShare"); // of the picture, in percent
        QTest::addColumn<double>("maxLargestShare");
        QTest::addColumn<double>("minElongation"); // of the largest patch
        QTest::addColumn<double>("maxElongation");
        QTest::newRow("crumbling") << "feel_1" << 25 << 0.0 << 3.0 << 0.0 << 1e9;
        QTest::newRow("ball") << "feel_2" << 1 << 4.0 << 100.0 << 0.0 << 1.3;
        QTest::newRow("thread") << "feel_3" << 1 << 0.5 << 4.0 << 4.0 << 1e9;
    }

    void feelTestPhotosShowTheirOwnTest() {
        QFETCH(QString, name);
        QFETCH(int, minPatches);
        QFETCH(double, minLargestShare);
        QFETCH(double, maxLargestShare);
        QFETCH(double, minElongation);
        QFETCH(double, maxElongation);
        const QImage picture = LoadPhoto(name);
        QVERIFY(!picture.isNull());
        const double all = picture.width() * picture.height();
        const std::vector<Patch> patches = SoilPatches(picture);
        QVERIFY(!patches.empty());
        const double share = 100.0 * patches.front().pixels / all;
        const QString measured = QString("%1 patches, largest %2 % of the picture, elongation %3")
                                     .arg(patches.size())
                                     .arg(share, 0, 'f', 2)
                                     .arg(patches.front().elongation, 0, 'f', 2);
        qInfo("%s: %s", qPrintable(name), qPrintable(measured));
        QVERIFY2(int(patches.size()) >= minPatches, qPrintable(measured));
        QVERIFY2(share >= minLargestShare && share <= maxLargestShare, qPrintable(measured));
        QVERIFY2(patches.front().elongation >= minElongation &&
                     patches.front().elongation <= maxElongation,
                 qPrintable(measured));

        // Shaded skin: a good share of it lies well away from its middle brightness (a flat
        // colour with outlines has almost none).
        std::vector<int> skin;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (IsSkin(picture.pixel(x, y))) {
                    skin.push_back(qGray(picture.pixel(x, y)));
                }
            }
        }
        QVERIFY(skin.size() > all * 0.15);
        std::nth_element(skin.begin(), skin.begin() + skin.size() / 2, skin.end());
        const int middle = skin[skin.size() / 2];
        const auto away = std::count_if(
            skin.begin(), skin.end(), [middle](int grey) { return std::abs(grey - middle) > 15; });
        const double shaded = 100.0 * away / skin.size();
        qInfo("%s: skin %.1f %% of the picture, %.1f %% of it shaded", qPrintable(name),
              100 * skin.size() / all, shaded);
        QVERIFY2(shaded > 30, qPrintable(QString::number(shaded)));
    }

    // The rod starts at the soil surface, 6 pixels down, and alternates black and white every
    // 10 cm (30 pixels) for 120 cm.
    void everyProfileShowsTheDecimetreRod() {
        for (int i = 1; i <= 9; ++i) {
            const QImage profile = LoadPhoto(QString("profile_%1").arg(i));
            QVERIFY(!profile.isNull());
            for (int dm = 0; dm < 12; ++dm) {
                const QRgb middle = profile.pixel(13, 6 + 15 + 30 * dm);
                const int grey = qGray(middle);
                const QString where =
                    QString("profile_%1, decimetre %2: grey %3").arg(i).arg(dm).arg(grey);
                if (dm % 2 == 0) {
                    QVERIFY2(grey < 60, qPrintable(where));
                } else {
                    QVERIFY2(grey > 200, qPrintable(where));
                }
            }
        }
    }

    void decodesColoursAndGreyIntoRgb() {
        const QImage colour = DecodeJpeg(RedBlueJpeg());
        QCOMPARE(colour.size(), QSize(32, 16));
        QVERIFY(Near(colour.pixel(4, 8), 230, 10, 10));
        QVERIFY(Near(colour.pixel(28, 8), 10, 10, 230));

        std::vector<unsigned char> grey;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                grey.push_back(static_cast<unsigned char>(x < 4 ? 40 : 200));
            }
        }
        const QImage fromGrey = DecodeJpeg(Encode(8, 8, 1, JCS_GRAYSCALE, grey));
        QCOMPARE(fromGrey.size(), QSize(8, 8));
        QVERIFY(Near(fromGrey.pixel(0, 0), 40, 40, 40));
        QVERIFY(Near(fromGrey.pixel(7, 7), 200, 200, 200));
    }

    // Each of these would make libjpeg's default error handler end the program.
    void badDataGivesNullImages() {
        QVERIFY(DecodeJpeg(QByteArray()).isNull());
        QVERIFY(DecodeJpeg(QByteArray("not a picture at all")).isNull());

        const QByteArray good = RedBlueJpeg();
        QVERIFY(DecodeJpeg(good.left(20)).isNull()); // header cut off
        QVERIFY(!LoadPhoto("main_field").isNull());  // registers the pictures
        const QByteArray photo = [] {
            QFile file(":/pictures/main_field");
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        QVERIFY(!DecodeJpeg(photo).isNull());
        QVERIFY(DecodeJpeg(photo.left(photo.size() / 2)).isNull()); // scan cut off
        QVERIFY(DecodeJpeg(photo.left(photo.size() - 2)).isNull()); // end marker missing

        QByteArray scrambled = good;
        for (qsizetype i = 2; i < scrambled.size() - 2; i += 3) {
            scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5a);
        }
        QVERIFY(DecodeJpeg(scrambled).isNull());

        std::vector<unsigned char> cmyk(16 * 16 * 4, 128);
        const QByteArray cmykJpeg = Encode(16, 16, 4, JCS_CMYK, cmyk);
        QVERIFY(!cmykJpeg.isEmpty());
        QVERIFY(DecodeJpeg(cmykJpeg).isNull());

        // Still decoding normally afterwards.
        QCOMPARE(DecodeJpeg(good).size(), QSize(32, 16));
    }
};

QTEST_MAIN(PhotosTest)
#include "photos_test.moc"
