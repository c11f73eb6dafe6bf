#pragma once
// One help page: a window built from its description in the help catalogue.

#include <QMainWindow>

#include "gui/help/help_catalogue.h"

class QTableWidget;

namespace brisolt::gui {

class HelpPages;

class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    HelpWindow(const HelpPageDescription& description, HelpPages& pages);

    int Number() const { return number_; }

    // Shows the page where it was last placed (centred the first time) and brings it to
    // the front; a visible page is only brought to the front.
    void ShowOnTop();

    // The grid of regional standard soil depths; null on every other page.
    QTableWidget* DepthGrid() const { return depthGrid_; }

protected:
    bool event(QEvent* event) override;
    // Enter that no focused button took presses the page's default button: "Weiter" (or
    // whatever leads on), else "Schliessen".
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildContent(const HelpPageDescription& description, QWidget* client);
    void BuildButtons(const HelpPageDescription& description, QWidget* client);
    void BuildSectionBar(HelpSection own, QWidget* client);
    void BuildRegionMap();
    void MoveTo(int page); // shows `page`, then hides this one
    void FillDepthGrid();

    HelpPages& pages_;
    int number_;
    bool placed_ = false;
    QTableWidget* depthGrid_ = nullptr;
};

} // namespace brisolt::gui
