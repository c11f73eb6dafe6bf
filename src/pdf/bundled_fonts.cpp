#include "pdf/bundled_fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace brisolt::pdf {

namespace {

bool bundledFontsInUse = false;

} // namespace

void UseBundledFonts() {
#ifdef BRISOLT_BUNDLED_FONTS
    if (bundledFontsInUse) {
        return;
    }
    const QStringList files = {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                               "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"};
    bool all = true;
    for (const QString& file : files) {
        all = QFontDatabase::addApplicationFont(":/fonts/" + file) >= 0 && all;
    }
    // Reports drawn with a fallback font would not match the layouts; without every style
    // the system's fonts are the better choice.
    bundledFontsInUse = all;
#endif
}

QString ReportFontFamily() {
    // The system's Arial where it resolves it (on Linux through fontconfig to Liberation
    // Sans); the built-in family where it was registered, so a PDF has the same text boxes
    // on every machine.
    return bundledFontsInUse ? QStringLiteral("Liberation Sans") : QStringLiteral("Arial");
}

} // namespace brisolt::pdf
