#include "gui/help/help_pages.h"

#include "gui/help/help_catalogue.h"
#include "gui/help/help_window.h"
#include "gui/shell/app_context.h"

namespace brisolt::gui {

HelpPages::HelpPages() {
    for (const auto& [number, description] : HelpCatalogue()) {
        windows_.emplace(number, std::make_unique<HelpWindow>(description, *this));
    }
}

HelpPages::~HelpPages() = default;

void HelpPages::Show(int page) {
    if (HelpWindow* window = Page(page)) {
        window->ShowOnTop();
    }
}

void HelpPages::Hide(int page) {
    if (HelpWindow* window = Page(page)) {
        window->hide();
    }
}

HelpWindow* HelpPages::Page(int page) const {
    const auto found = windows_.find(page);
    return found == windows_.end() ? nullptr : found->second.get();
}

void InstallHelpPages(AppContext& context, HelpPages& pages) {
    context.openHelpPage = [&pages](int page) { pages.Show(page); };
}

} // namespace brisolt::gui
