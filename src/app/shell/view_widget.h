// The window that hosts CPolydromView: paints it through the raster canvas pixel for
// pixel, hands it left presses with the key-state bits and its client size, and
// repaints when the view asks. A left drag draws a rubber band, the wheel zooms about
// the pointer, and the pointer's pixel is reported as it moves.
#pragma once

#include <functional>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "framework/view.h"

class CPolydromView;
class QRubberBand;

class CViewWidget : public QWidget, public CViewHost {
    Q_OBJECT
public:
    CViewWidget(CPolydromView& view, QWidget* parent = nullptr);
    ~CViewWidget() override;

    // CViewHost: the client size in device pixels, and a repaint request (from any thread:
    // work on a worker thread may ask for one).
    CRect GetClientRect() const override;
    void Invalidate() override;

    // The picture a paint shows: the view drawn on a white canvas of the client size.
    QImage Render() const;

    // A left click (flags with MK_RBUTTON while the right button is held) at a client pixel:
    // at the press when adding or moving, else at a release without a drag.
    std::function<void(unsigned flags, CPoint point)> onLeftPress;
    // A rubber band released: its corners in client pixels, and the key state at release
    // (MK_SHIFT adds to the selection, MK_CONTROL takes away).
    std::function<void(CPoint from, CPoint to, unsigned flags)> onBox;
    // Whole notches of the wheel at a client pixel, positive away from the user.
    std::function<void(CPoint pointer, int notches)> onWheel;
    // The pointer moved over the view (inside true) or left it.
    std::function<void(bool inside, CPoint pointer)> onPointer;

    // A drag of at least this many pixels either way draws the band.
    static constexpr int kDragPixels = 4;
    bool BandVisible() const;

protected:
    // The tool tip over an inset panel names the axes it shows.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    CPoint DevicePixel(QPointF at) const;

    CPolydromView& m_view;
    int m_wheelRemainder = 0;
    QRubberBand* m_band = nullptr;
    // The drag under way: where it began (logical and client pixels) with the key state
    // then, whether it may still become a band (not with the right button held, nor in
    // move mode), and whether its click is still to come on release.
    bool m_bandAllowed = false;
    bool m_clickPending = false;
    QPoint m_pressAt;
    CPoint m_pressPixel;
    unsigned m_pressFlags = 0;
    // What the last paint showed, painted again while work on another thread changes the model.
    QImage m_lastPicture;
};
