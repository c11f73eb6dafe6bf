#include "gui/help/region_map_view.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace brisolt::gui {

RegionMapView::RegionMapView(QLabel* picture, QSize natural, QWidget* parent)
    : QScrollArea(parent), picture_(picture), natural_(natural) {
    setObjectName(QStringLiteral("scrMap"));
    setBackgroundRole(QPalette::Base);
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignCenter);
    picture_->setScaledContents(true);
    setWidget(picture_);
    ShowFitted(); // fitted again whenever the view gets its size

    // Window-wide, so they work wherever the focus is on the page.
    auto* zoomIn = new QAction(this);
    zoomIn->setObjectName(QStringLiteral("actZoomIn"));
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomIn->setShortcutContext(Qt::WindowShortcut);
    connect(zoomIn, &QAction::triggered, this, [this] { ShowNaturalSize(); });
    addAction(zoomIn);
    auto* zoomOut = new QAction(this);
    zoomOut->setObjectName(QStringLiteral("actZoomOut"));
    zoomOut->setShortcuts(QKeySequence::ZoomOut);
    zoomOut->setShortcutContext(Qt::WindowShortcut);
    connect(zoomOut, &QAction::triggered, this, [this] { ShowFitted(); });
    addAction(zoomOut);
}

double RegionMapView::Scale() const {
    return static_cast<double>(picture_->width()) / natural_.width();
}

QSize RegionMapView::FittedSize() const {
    // The room without scroll bars: the fitted map never needs them.
    const QSize room = maximumViewportSize();
    const double scale = std::min({1.0, static_cast<double>(room.width()) / natural_.width(),
                                   static_cast<double>(room.height()) / natural_.height()});
    return QSize(std::max(1, static_cast<int>(std::floor(natural_.width() * scale))),
                 std::max(1, static_cast<int>(std::floor(natural_.height() * scale))));
}

void RegionMapView::ShowNaturalSize(QPoint anchor) {
    fitted_ = false;
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SetShownSize(natural_, anchor);
}

void RegionMapView::ShowFitted(QPoint anchor) {
    fitted_ = true;
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetShownSize(FittedSize(), anchor);
}

void RegionMapView::SetShownSize(QSize size, QPoint anchor) {
    if (anchor.x() < 0 || anchor.y() < 0) {
        anchor = viewport()->rect().center();
    }
    // The map point under the anchor, as a share of the map's size.
    const QPointF before = picture_->mapFrom(viewport(), anchor);
    const double shareX = picture_->width() > 0 ? before.x() / picture_->width() : 0.5;
    const double shareY = picture_->height() > 0 ? before.y() / picture_->height() : 0.5;
    picture_->setFixedSize(size);
    horizontalScrollBar()->setValue(
        static_cast<int>(std::lround(shareX * size.width() - anchor.x())));
    verticalScrollBar()->setValue(
        static_cast<int>(std::lround(shareY * size.height() - anchor.y())));
}

void RegionMapView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (fitted_) {
        ShowFitted();
    }
}

void RegionMapView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    // Wheel events reach the view through its viewport, in the viewport's coordinates.
    const QPoint at = event->position().toPoint();
    if (steps > 0 && fitted_) {
        ShowNaturalSize(at);
    } else if (steps < 0 && !fitted_) {
        ShowFitted(at);
    }
    event->accept();
}

} // namespace brisolt::gui
