#pragma once
// Fonts that travel inside the program where the system does not provide them (Windows):
// the reports and the windows are laid out for the metrics of "Liberation Sans" (the same as
// Arial's), and a Windows desktop has neither that family nor, under every setup, Arial.

#include <QString>

namespace brisolt::pdf {

// Registers the built-in fonts, if this build has them. Needs a Qt application; call once
// after creating it, before anything is drawn or laid out.
void UseBundledFonts();

// The family the report pages are drawn with: Arial, resolved by the system, or the
// built-in Liberation Sans once UseBundledFonts has registered it.
QString ReportFontFamily();

} // namespace brisolt::pdf
