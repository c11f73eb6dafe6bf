#pragma once
// A printed page as data: every box, text, line and rectangle with its position in
// millimetres from the top left corner of the sheet. The reports decide everything here;
// the painter in the desktop program only draws what a page lists, in list order.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisolt::report {

struct PointMm {
    double x = 0;
    double y = 0;
};

struct RectMm {
    double x = 0; // from the left edge of the sheet
    double y = 0; // from the top edge of the sheet
    double width = 0;
    double height = 0;
};

enum class Align { Left, Center, Right };
enum class Fill { None, White, Grey };
enum class ElementKind {
    Text,  // a fixed box: wraps at word boundaries within its width, never grows
    Line,  // a horizontal black line across the box, at its vertical middle
    Box,   // a rectangle with frame and fill, without text
    Shape, // the element's paths: closed rings filled (even-odd) and outlined, or open lines
    Image  // grey pixels stretched over the box
};

struct Rgba {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255; // 0 draws nothing
};

struct Frame {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    static Frame All() { return {true, true, true, true}; }
    bool Any() const { return left || top || right || bottom; }
};

struct Element {
    ElementKind kind = ElementKind::Text;
    RectMm box;
    std::string text; // UTF-8
    double fontPoints = 8;
    bool bold = false;
    Align align = Align::Left;
    bool wrap = true;
    Frame frame;
    Fill fill = Fill::None;
    // A value from the assessment may be drawn smaller, down to this size, so that it fits
    // its box whole; what does not fit even then ends with "…". 0 for fixed captions, which
    // are drawn at their size and cut at the box.
    double minFontPoints = 0;
    // When > 0, the first line sits centred in a band this high at the top of the box, level
    // with one-line boxes beside it; otherwise the lines of a tall box start at its top.
    double firstLineBandMm = 0;
    // When > 0, a line that continues a paragraph (text up to a line break) starts this much
    // further right than the paragraph's first line: a list of items wrapped in a narrow box
    // still shows where each item begins.
    double hangingIndentMm = 0;

    // Shape: rings or lines in millimetres on the sheet; a closed shape is filled with
    // `shapeFill`, and every path is drawn with `stroke` when `strokeMm` > 0.
    std::vector<std::vector<PointMm>> paths;
    bool closed = true;
    Rgba shapeFill{0, 0, 0, 0};
    Rgba stroke;
    double strokeMm = 0;
    // Image: `imageColumns` x `imageRows` grey values 0..255, row by row from the top.
    int imageColumns = 0;
    int imageRows = 0;
    std::vector<std::uint8_t> grey;
};

struct Page {
    double widthMm = 210; // A4 portrait
    double heightMm = 297;
    std::string name;              // document title, e.g. for the PDF's metadata
    std::vector<Element> elements; // drawn in this order
};

// The first text element whose text is exactly `text`; nullptr when there is none.
const Element* FindText(const Page& page, std::string_view text);

} // namespace brisolt::report
