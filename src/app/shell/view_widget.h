// The window that hosts CPolydromView: paints it through the raster canvas pixel for
// pixel, hands it left presses with the key-state bits and its client size, and
// repaints when the view asks.
#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

#include "framework/view.h"

class CPolydromView;

class CViewWidget : public QWidget, public CViewHost {
    Q_OBJECT
public:
    CViewWidget(CPolydromView& view, QWidget* parent = nullptr);
    ~CViewWidget() override;

    // CViewHost: the client size in device pixels, and a repaint request.
    CRect GetClientRect() const override;
    void Invalidate() override;

    // The picture a paint shows: the view drawn on a white canvas of the client size.
    QImage Render() const;

    // A left press (flags with MK_RBUTTON while the right button is held) at a client pixel.
    std::function<void(unsigned flags, CPoint point)> onLeftPress;
    // A command given over the view itself (the wheel zooms).
    std::function<void(unsigned id)> onCommand;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CPolydromView& m_view;
    int m_wheelRemainder = 0;
};
