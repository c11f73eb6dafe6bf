#include "gui/help/help_window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTableWidget>
#include <algorithm>

#include "gui/help/diagrams.h"
#include "gui/help/help_pages.h"
#include "gui/help/photos.h"
#include "gui/help/region_map_view.h"
#include "gui/shell/qt_text.h"
#include "key/results/soil_depth.h"

namespace brisolt::gui {

namespace {

constexpr int kWidth = 696;
constexpr int kHeight = 515;
constexpr int kButtonY = 448;
constexpr int kButtonWidth = 105;
constexpr int kButtonHeight = 25;

// Widths of the soil depth grid and its shape: the regions' table shown transposed.
constexpr int kDepthFirstColumnWidth = 280;
constexpr int kDepthColumnWidth = 36;
constexpr int kDepthRowHeight = 24;

QFont PixelFont(const QFont& base, int pixelSize, bool bold, bool italic = false) {
    QFont font = base;
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

bool IsDiagram(const QString& name) {
    return name == QLatin1String("protractor") || name.startsWith(QLatin1String("flow_")) ||
           name == QLatin1String("region_map") || name == QLatin1String("risk_chart");
}

QImage PictureNamed(const QString& name) {
    return IsDiagram(name) ? DrawDiagram(name) : LoadPhoto(name);
}

// A picture at its fixed size. The image is loaded when the page is first shown, so that
// creating all pages at program start stays cheap.
QLabel* MakePicture(const QString& name, int width, int height, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("pic_") + name);
    label->setFixedSize(width, height);
    return label;
}

// A picture that cannot be had leaves an empty frame.
void LoadPicture(QLabel* label) {
    const QImage image = PictureNamed(label->objectName().mid(4));
    if (image.isNull()) {
        label->setFrameShape(QFrame::Box);
    } else {
        label->setPixmap(QPixmap::fromImage(image));
    }
}

QPushButton* MakeButton(const QString& caption, const char* name, int x, int y, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, kButtonWidth, kButtonHeight);
    button->setAutoDefault(true); // Enter on a focused button presses it
    return button;
}

} // namespace

HelpWindow::HelpWindow(const HelpPageDescription& description, HelpPages& pages)
    : pages_(pages), number_(description.number) {
    setObjectName(QStringLiteral("frmHelp%1").arg(description.number));
    setWindowTitle(description.windowTitle);
    resize(kWidth, kHeight);
    // Escape does what the page's "Schliessen" does.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (auto* close = findChild<QPushButton*>(QStringLiteral("btnClose"))) {
            close->click();
        } else {
            hide();
        }
    });
    if (description.regionMap) {
        BuildRegionMap();
        return;
    }
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    if (!description.title.isEmpty()) {
        auto* title = new QLabel(description.title, client);
        title->setObjectName(QStringLiteral("labTitle"));
        title->setTextFormat(Qt::PlainText);
        title->setWordWrap(true);
        title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont titleFont = PixelFont(font(), description.titlePixelSize, true);
        title->setFont(titleFont);
        while (titleFont.pixelSize() > 13 &&
               title->heightForWidth(641) >
                   description.titleLines * QFontMetrics(titleFont).lineSpacing()) {
            titleFont.setPixelSize(titleFont.pixelSize() - 1);
            title->setFont(titleFont);
        }
        title->setGeometry(24, 8, 641, title->heightForWidth(641));
    }
    BuildContent(description, client);
    if (description.section != HelpSection::None) {
        BuildSectionBar(description.section, client);
    } else {
        BuildButtons(description, client);
    }
    if (depthGrid_ != nullptr) {
        FillDepthGrid();
    }
}

void HelpWindow::BuildContent(const HelpPageDescription& description, QWidget* client) {
    using Kind = HelpElement::Kind;
    int rowTop = 0;
    int rowBottom = 0;
    std::vector<QLabel*> framedInRow; // framed cells of one row share their height
    auto closeRow = [&framedInRow]() {
        int height = 0;
        for (QLabel* label : framedInRow) {
            height = std::max(height, label->height());
        }
        for (QLabel* label : framedInRow) {
            label->resize(label->width(), height);
        }
        framedInRow.clear();
    };
    for (const HelpElement& e : description.elements) {
        if (e.kind == Kind::Panel) {
            auto* panel = new QGroupBox(e.text, client);
            panel->setFont(PixelFont(font(), e.pixelSize, true));
            panel->setGeometry(e.x, e.y, e.width, e.height);
            continue;
        }
        int top = e.y;
        const bool sameRow = e.y == kSameRow;
        if (sameRow) {
            top = rowTop;
        } else {
            closeRow();
            if (e.y < 0) {
                top = rowBottom + (-1 - e.y);
            }
        }
        QWidget* widget = nullptr;
        switch (e.kind) {
        case Kind::Picture:
            widget = MakePicture(e.text, e.width, e.height, client);
            break;
        case Kind::DepthGrid: {
            depthGrid_ = new QTableWidget(client);
            depthGrid_->setObjectName(QStringLiteral("grdDepth"));
            depthGrid_->setGeometry(e.x, top, e.width, e.height);
            depthGrid_->setFrameShape(QFrame::NoFrame);
            depthGrid_->horizontalHeader()->hide();
            depthGrid_->verticalHeader()->hide();
            depthGrid_->verticalHeader()->setDefaultSectionSize(kDepthRowHeight);
            depthGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            depthGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            depthGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
            depthGrid_->setSelectionMode(QAbstractItemView::NoSelection);
            depthGrid_->setFocusPolicy(Qt::NoFocus);
            depthGrid_->setFont(PixelFont(font(), 13, false));
            depthGrid_->setTextElideMode(Qt::ElideNone);
            widget = depthGrid_;
            break;
        }
        case Kind::StepHelp: {
            auto* button = new QPushButton(e.text, client);
            button->setObjectName(QStringLiteral("btnStepHelp"));
            button->setFont(PixelFont(font(), 11, true));
            button->setGeometry(e.x, top, e.width, e.height);
            const int target = description.next;
            connect(button, &QPushButton::clicked, this, [this, target] { MoveTo(target); });
            widget = button;
            break;
        }
        case Kind::Text: {
            if (e.framed && e.height == 1) { // a fraction line
                auto* line = new QFrame(client);
                line->setFrameShape(QFrame::HLine);
                line->setGeometry(e.x, top, e.width, 1);
                line->setStyleSheet(QStringLiteral("background: black"));
                widget = line;
                break;
            }
            auto* label = new QLabel(e.text, client);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setFont(PixelFont(font(), e.pixelSize, e.bold, e.italic));
            label->setAlignment((e.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            if (e.framed) {
                label->setFrameShape(QFrame::Box);
                label->setMargin(3);
                framedInRow.push_back(label);
            }
            const int height = e.height > 0 ? e.height : label->heightForWidth(e.width);
            label->setGeometry(e.x, top, e.width, height);
            widget = label;
            break;
        }
        case Kind::Panel:
            break;
        }
        widget->move(e.x, top);
        const int bottom = top + widget->height();
        rowBottom = sameRow ? std::max(rowBottom, bottom) : bottom;
        rowTop = top;
    }
    closeRow();
}

void HelpWindow::BuildButtons(const HelpPageDescription& description, QWidget* client) {
    if (description.back != 0) {
        auto* back = MakeButton(QStringLiteral("Zurück"), "btnBack", description.backX,
                                description.backY, client);
        const int target = description.back;
        connect(back, &QPushButton::clicked, this, [this, target] { MoveTo(target); });
    }
    if (description.next != 0) {
        auto* next =
            MakeButton(description.nextCaption, "btnNext", description.nextX, kButtonY, client);
        const int target = description.next;
        connect(next, &QPushButton::clicked, this, [this, target] { MoveTo(target); });
    }
    if (description.closeButton) {
        auto* close = MakeButton(QStringLiteral("Schliessen"), "btnClose", 568, kButtonY, client);
        connect(close, &QPushButton::clicked, this, &QWidget::hide);
    }
}

void HelpWindow::BuildSectionBar(HelpSection own, QWidget* client) {
    struct SectionButton {
        HelpSection section;
        const char* caption;
        const char* name;
        int x;
    };
    static const SectionButton kButtons[] = {
        {HelpSection::Entry, "Einstieg", "btnEntry", 8},
        {HelpSection::Procedure, "Vorgehen", "btnProcedure", 120},
        {HelpSection::MainCrops, "Hauptkulturen", "btnMainCrops", 232},
        {HelpSection::Period, "Zwischenperiode", "btnPeriod", 344},
        {HelpSection::Tillage, "Bodenbearbeitung", "btnTillage", 456}};
    const bool onEntry = own == HelpSection::Entry;
    for (const SectionButton& b : kButtons) {
        if (b.section == own) {
            continue;
        }
        QPushButton* button = MakeButton(Q(b.caption), b.name, b.x, kButtonY, client);
        if (b.section == HelpSection::Entry) {
            // Hiding the section page uncovers the entry page underneath, if it is open.
            connect(button, &QPushButton::clicked, this, &QWidget::hide);
            continue;
        }
        const int target = SectionPage(b.section);
        if (onEntry) {
            // The entry page stays open under the section page.
            connect(button, &QPushButton::clicked, this, [this, target] { pages_.Show(target); });
        } else {
            connect(button, &QPushButton::clicked, this, [this, target] { MoveTo(target); });
        }
    }
    QPushButton* close =
        MakeButton(QStringLiteral("Schliessen"), "btnClose", 568, kButtonY, client);
    connect(close, &QPushButton::clicked, this, [this, onEntry] {
        hide();
        if (!onEntry) {
            pages_.Hide(SectionPage(HelpSection::Entry));
        }
    });
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        for (const char* name : {"btnNext", "btnClose"}) {
            auto* button = findChild<QPushButton*>(QString::fromLatin1(name));
            if (button != nullptr && button->isVisible() && button->isEnabled()) {
                event->accept();
                button->click();
                return;
            }
        }
    }
    QMainWindow::keyPressEvent(event);
}

void HelpWindow::BuildRegionMap() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* close = file->addAction(QStringLiteral("Schliessen"));
    close->setObjectName(QStringLiteral("mniClose"));
    connect(close, &QAction::triggered, this, &QWidget::hide);

    auto* picture = MakePicture(QStringLiteral("region_map"), 1783, 1608, nullptr);
    auto* scroll = new RegionMapView(picture, QSize(1783, 1608), this);
    setCentralWidget(scroll);
}

void HelpWindow::ShowOnTop() {
    if (!placed_) {
        placed_ = true;
        for (QLabel* picture : findChildren<QLabel*>()) {
            if (picture->objectName().startsWith(QLatin1String("pic_"))) {
                LoadPicture(picture);
            }
        }
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::MoveTo(int page) {
    pages_.Show(page);
    if (page != number_) {
        hide();
    }
}

bool HelpWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && depthGrid_ != nullptr) {
        FillDepthGrid();
    }
    return QMainWindow::event(event);
}

void HelpWindow::FillDepthGrid() {
    const TmtxStringArray& table = RegionalDepthTable();
    depthGrid_->horizontalHeader()->setDefaultSectionSize(kDepthColumnWidth);
    depthGrid_->setColumnCount(static_cast<int>(table.RowCount));
    depthGrid_->setRowCount(static_cast<int>(table.ColCount));
    for (int column = 0; column < depthGrid_->columnCount(); ++column) {
        depthGrid_->setColumnWidth(column,
                                   column == 0 ? kDepthFirstColumnWidth : kDepthColumnWidth);
    }
    for (int row = 0; row < depthGrid_->rowCount(); ++row) {
        depthGrid_->setRowHeight(row, kDepthRowHeight);
    }
    // The long row caption is shown whole: the grid's font shrinks until it fits its column.
    QFont gridFont = depthGrid_->font();
    for (int row = 0; row < depthGrid_->rowCount(); ++row) {
        const QString caption = Q(table.at(0, row));
        while (gridFont.pixelSize() > 8 &&
               QFontMetrics(gridFont).horizontalAdvance(caption) > kDepthFirstColumnWidth - 8) {
            gridFont.setPixelSize(gridFont.pixelSize() - 1);
        }
    }
    depthGrid_->setFont(gridFont);
    for (int column = 0; column < depthGrid_->columnCount(); ++column) {
        for (int row = 0; row < depthGrid_->rowCount(); ++row) {
            auto* item = new QTableWidgetItem(Q(table.at(column, row)));
            item->setFlags(Qt::ItemIsEnabled);
            depthGrid_->setItem(row, column, item);
        }
    }
}

} // namespace brisolt::gui
