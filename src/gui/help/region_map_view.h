#pragma once
// The region map page's view: opens with the whole map fitted into the window, heading and
// legend included; Ctrl+plus, Ctrl+minus and Ctrl+wheel switch to the map at its natural size
// (with scroll bars over it) and back.

#include <QScrollArea>
#include <QSize>

class QLabel;

namespace brisolt::gui {

class RegionMapView : public QScrollArea {
    Q_OBJECT
public:
    // `picture` becomes the view's widget; `natural` is the map's own size in pixels.
    RegionMapView(QLabel* picture, QSize natural, QWidget* parent);

    bool Fitted() const { return fitted_; }
    // The shown size of the map over its natural size (1 at natural size).
    double Scale() const;

    // Both keep the point of the map at `anchor` (viewport coordinates; the viewport's
    // centre when omitted) where it is, as far as the scroll bars allow.
    void ShowNaturalSize(QPoint anchor = QPoint(-1, -1));
    void ShowFitted(QPoint anchor = QPoint(-1, -1));

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SetShownSize(QSize size, QPoint anchor);
    QSize FittedSize() const;

    QLabel* picture_;
    QSize natural_;
    bool fitted_ = true;
};

} // namespace brisolt::gui
