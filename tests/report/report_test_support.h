#pragma once
// Looking up the elements of a page by where they are on the sheet.

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/page.h"

namespace brisolt::report::testing {

inline bool Near(double a, double b) {
    return std::fabs(a - b) < 1e-9;
}

// Every text element whose top left corner is at (x, y) on the sheet.
inline std::vector<const Element*> TextsAt(const Page& page, double x, double y) {
    std::vector<const Element*> found;
    for (const Element& e : page.elements) {
        if (e.kind == ElementKind::Text && Near(e.box.x, x) && Near(e.box.y, y)) {
            found.push_back(&e);
        }
    }
    return found;
}

// The one text element at body position (x, y): body positions count from the left
// margin (20 mm) and the top of the body band (23.5 mm).
inline const Element& BodyText(const Page& page, double x, double y) {
    const std::vector<const Element*> found = TextsAt(page, x + 20.0, y + 23.5);
    if (found.size() != 1) {
        ADD_FAILURE() << found.size() << " text elements at body position " << x << ", " << y;
        static const Element none;
        return none;
    }
    return *found.front();
}

inline bool IsCell(const Element& e) {
    return e.frame.left && e.frame.top && e.frame.right && e.frame.bottom && e.fill == Fill::Grey;
}

} // namespace brisolt::report::testing
