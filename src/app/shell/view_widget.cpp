#include "app/shell/view_widget.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "app/command_ids.h"
#include "view/polydrom_view.h"

namespace {

// The key-state word of a mouse message.
unsigned KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    unsigned flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

}  // namespace

CViewWidget::CViewWidget(CPolydromView& view, QWidget* parent) : QWidget(parent), m_view(view)
{
    setObjectName(QStringLiteral("View"));
    // The canvas covers every pixel, so Qt need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(1, 1);
    m_view.SetHost(this);
}

CViewWidget::~CViewWidget()
{
    if (m_view.GetHost() == this) m_view.SetHost(nullptr);
}

CRect CViewWidget::GetClientRect() const
{
    // Device pixels: the view's projection works in whole pixels of the screen.
    const qreal ratio = devicePixelRatioF();
    return CRect{0, 0, int(std::lround(width() * ratio)), int(std::lround(height() * ratio))};
}

void CViewWidget::Invalidate() { update(); }

void CViewWidget::paintEvent(QPaintEvent*)
{
    QImage image = Render();
    image.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), image);
}

void CViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QPointF at = event->position() * ratio;
    const CPoint point{int(std::floor(at.x())), int(std::floor(at.y()))};
    if (onLeftPress) onLeftPress(KeyState(event->buttons() | Qt::LeftButton, event->modifiers()), point);
    event->accept();
}

void CViewWidget::wheelEvent(QWheelEvent* event)
{
    // One command per notch (120 eighths of a degree); fine-grained wheels add up.
    m_wheelRemainder += event->angleDelta().y();
    while (m_wheelRemainder >= 120) {
        m_wheelRemainder -= 120;
        if (onCommand) onCommand(ID_VIEW_ZOOM_IN);
    }
    while (m_wheelRemainder <= -120) {
        m_wheelRemainder += 120;
        if (onCommand) onCommand(ID_VIEW_ZOOM_OUT);
    }
    event->accept();
}
