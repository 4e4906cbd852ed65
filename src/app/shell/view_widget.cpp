#include "app/shell/view_widget.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QThread>
#include <QToolTip>
#include <QWheelEvent>

#include "app/shell/background_job.h"
#include "view/polydrom_view.h"
#include "view/status_text.h"

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
    // The status bar follows the pointer without a button held.
    setMouseTracking(true);
    m_band = new QRubberBand(QRubberBand::Rectangle, this);
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

void CViewWidget::Invalidate()
{
    // A widget is only touched on its own thread: from elsewhere the request is posted there.
    if (QThread::currentThread() == thread())
        update();
    else
        QMetaObject::invokeMethod(this, [this] { update(); }, Qt::QueuedConnection);
}

bool CViewWidget::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip || ModelBeingChanged()) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const std::string text = PanelText(m_view, DevicePixel(help->pos()), true);
    if (text.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromStdString(text), this);
    }
    return true;
}

void CViewWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The model's arrays may be half resized: the window keeps the picture it had (on
    // white where it has grown) until the change is whole.
    if (ModelBeingChanged()) {
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(QPoint(0, 0), m_lastPicture);
        return;
    }
    m_lastPicture = Render();
    m_lastPicture.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(QPoint(0, 0), m_lastPicture);
}

CPoint CViewWidget::DevicePixel(QPointF at) const
{
    const QPointF device = at * devicePixelRatioF();
    return CPoint{int(std::floor(device.x())), int(std::floor(device.y()))};
}

bool CViewWidget::BandVisible() const { return m_band->isVisible(); }

void CViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        // A right press during a drag ends the band: that drag selects nothing.
        if (m_band->isVisible()) m_clickPending = false;
        m_bandAllowed = false;
        m_band->hide();
        QWidget::mousePressEvent(event);
        return;
    }
    const CPoint point = DevicePixel(event->position());
    m_bandAllowed = !(event->buttons() & Qt::RightButton) && m_view.m_movePresses == 0;
    m_pressAt = event->position().toPoint();
    m_pressPixel = point;
    m_pressFlags = KeyState(event->buttons() | Qt::LeftButton, event->modifiers());
    // A press that may still become a band waits: it is a click only if released
    // without a drag, so that a band leaves the cursor and the selection as they were.
    // Adding a vertex and the move tool act at once, as they never draw a band.
    m_clickPending = m_bandAllowed;
    if (!m_clickPending && onLeftPress) onLeftPress(m_pressFlags, point);
    event->accept();
}

void CViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (onPointer) onPointer(true, DevicePixel(event->position()));
    if (!m_bandAllowed || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - m_pressAt;
    if (!m_band->isVisible() && std::abs(moved.x()) < kDragPixels && std::abs(moved.y()) < kDragPixels) return;
    m_clickPending = false;
    m_band->setGeometry(QRect(m_pressAt, at).normalized());
    m_band->show();
}

void CViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool band = m_band->isVisible();
    m_band->hide();
    m_bandAllowed = false;
    if (std::exchange(m_clickPending, false) && onLeftPress) onLeftPress(m_pressFlags, m_pressPixel);
    if (band && onBox)
        onBox(m_pressPixel, DevicePixel(event->position()), KeyState(event->buttons(), event->modifiers()));
    event->accept();
}

void CViewWidget::leaveEvent(QEvent* event)
{
    if (onPointer) onPointer(false, CPoint{});
    QWidget::leaveEvent(event);
}

void CViewWidget::wheelEvent(QWheelEvent* event)
{
    // One step per notch (120 eighths of a degree); fine-grained wheels add up.
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    if (notches != 0 && onWheel) onWheel(DevicePixel(event->position()), notches);
    event->accept();
}
