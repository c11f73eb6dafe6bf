#pragma once
// All help pages, created once and hidden until opened.

#include <map>
#include <memory>

namespace brisolt::gui {

class AppContext;
class HelpWindow;

class HelpPages {
public:
    HelpPages();
    ~HelpPages();
    HelpPages(const HelpPages&) = delete;
    HelpPages& operator=(const HelpPages&) = delete;

    // Shows the page and brings it to the front; the windows that are open stay open.
    // Unknown page numbers are ignored.
    void Show(int page);
    void Hide(int page);

    // The page's window; null for an unknown number.
    HelpWindow* Page(int page) const;

private:
    std::map<int, std::unique_ptr<HelpWindow>> windows_;
};

// Routes the screens' help commands to the pages.
void InstallHelpPages(AppContext& context, HelpPages& pages);

} // namespace brisolt::gui
