#include "report/page.h"

namespace brisolt::report {

const Element* FindText(const Page& page, std::string_view text) {
    for (const Element& e : page.elements) {
        if (e.kind == ElementKind::Text && e.text == text) {
            return &e;
        }
    }
    return nullptr;
}

} // namespace brisolt::report
