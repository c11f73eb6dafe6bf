#pragma once
// The help pages as data: what each page shows, where, and where its buttons lead.

#include <QString>
#include <climits>
#include <map>
#include <vector>

namespace brisolt::gui {

// Vertical placement of an element: a pixel position, or relative to the elements above.
inline constexpr int kSameRow = INT_MIN; // top edge of the previous element
inline constexpr int Below(int gap) {
    return -1 - gap;
} // `gap` pixels below the row above

struct HelpElement {
    enum class Kind {
        Text,      // a label of fixed width, wrapping at word boundaries
        Panel,     // a framed rectangle; `text` is its bold caption on the top edge
        Picture,   // a named picture at its fixed size
        DepthGrid, // the grid of regional standard soil depths
        StepHelp,  // the small "?" button beside a procedure step
    };
    Kind kind = Kind::Text;
    int x = 0;
    int y = 0; // >= 0: pixels from the top; Below(gap) or kSameRow otherwise
    int width = 0;
    int height = 0; // 0: as high as the wrapped text needs
    QString text;   // the text, the panel's caption or the picture's name
    int pixelSize = 13;
    bool bold = false;
    bool italic = false;
    bool framed = false;
    bool centred = false;
};

enum class HelpSection { None, Entry, Procedure, MainCrops, Period, Tillage };

struct HelpPageDescription {
    int number = 0;
    QString windowTitle;
    QString title; // empty: no title line
    int titlePixelSize = 25;
    int titleLines = 2; // the title font shrinks until the title fits in as many lines
    std::vector<HelpElement> elements;

    int back = 0; // target of "Zurück", 0: no such button
    int backX = 16;
    int backY = 448;
    int next = 0; // target of the forward button, 0: no such button
    QString nextCaption = QStringLiteral("Weiter");
    int nextX = 152;
    bool closeButton = true;

    HelpSection section = HelpSection::None; // crop rotation pages carry the section bar
    bool regionMap = false;                  // scrollable map with the menu "Datei"
};

// The pages by number, 101 ... 137.
const std::map<int, HelpPageDescription>& HelpCatalogue();

// The page a crop rotation section button leads to.
int SectionPage(HelpSection section);

} // namespace brisolt::gui
