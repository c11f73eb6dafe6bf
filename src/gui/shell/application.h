#pragma once
// Program start: the assessment, then every window once, in a fixed order; all live until
// the program ends and are only shown and hidden.

#include <QWidget>
#include <memory>
#include <vector>

#include "gui/help/help_pages.h"
#include "gui/shell/app_context.h"

namespace brisolt::gui {

class TfrmMain;
class TfrmMeasures;
class TfrmCompare;

class Application {
public:
    explicit Application(Int startYear);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppContext& Context() { return context_; }
    TfrmMain* MainWindow() const { return main_; }
    // The help pages, created on first use if the start has not created them yet.
    HelpPages& Help();
    template <typename T> T* Window(ScreenId id) const {
        return qobject_cast<T*>(context_.Screen(id));
    }

    // Shows the main window with "Weiter" focused.
    void Start();
    // Loads a calculation file given when the program was started; a file that does not
    // load shows the load command's error box or message.
    void OpenAtStart(const QString& path);

private:
    AppContext context_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    std::unique_ptr<HelpPages> helpPages_;
    std::unique_ptr<TfrmMeasures> measures_;
    std::unique_ptr<TfrmCompare> comparison_;
    TfrmMain* main_ = nullptr;
};

// Sets the application font, the regional decimal separator from the system locale, and
// German for Qt's own dialogs.
void ConfigureApplication();

} // namespace brisolt::gui
