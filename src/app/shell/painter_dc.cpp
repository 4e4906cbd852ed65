// The device context on a QPainter: the view's drawing calls as painter calls, for printing.
#include "app/shell/painter_dc.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
QColor Color(COLORREF c) { return QColor(int(c & 0xff), int(c >> 8 & 0xff), int(c >> 16 & 0xff)); }
}  // namespace

CPainterDC::CPainterDC(QPainter& painter) : m_painter(painter)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void CPainterDC::LineTo(int x, int y)
{
    const QPoint from(CurrentPosition().x, CurrentPosition().y), to(x, y);
    if (to != from) {
        // Pixel centres, so a device unit on the page covers what a pixel covers on screen.
        const int width = CurrentPen() && CurrentPen()->width > 1 ? CurrentPen()->width : 1;
        QPen pen(Color(PenColor()), width);
        pen.setCapStyle(Qt::FlatCap);
        // A line stays one device unit wide when the page is shrunk to fit the paper.
        pen.setCosmetic(true);
        m_painter.setPen(pen);
        m_painter.drawLine(QPointF(from) + QPointF(0.5, 0.5), QPointF(to) + QPointF(0.5, 0.5));
    }
    SetPosition(x, y);
}

void CPainterDC::TextOut(int x, int y, std::string_view text)
{
    // A device context's defaults: black text on an opaque white box.
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(m_painter.font());
    const QRect box(x, y, metrics.horizontalAdvance(s), metrics.height());
    m_painter.fillRect(box, Qt::white);
    m_painter.setPen(Qt::black);
    m_painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
}

void CPainterDC::FillRect(const CRect& rect, const CBrush* brush)
{
    if (!brush || rect.right <= rect.left || rect.bottom <= rect.top) return;
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), Color(brush->color));
}

void CPainterDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    if (cx <= 0 || cy <= 0) return;
    const QColor first = Color(topLeft), second = Color(bottomRight);
    m_painter.fillRect(QRect(x, y, cx - 1, 1), first);
    m_painter.fillRect(QRect(x, y, 1, cy - 1), first);
    m_painter.fillRect(QRect(x + cx - 1, y, 1, cy), second);
    m_painter.fillRect(QRect(x, y + cy - 1, cx, 1), second);
}

void CPainterDC::SelectClipRect(const CRect* rect)
{
    CDC::SelectClipRect(rect);
    if (!rect) {
        m_painter.setClipping(false);
        return;
    }
    m_painter.setClipRect(QRect(rect->left, rect->top, rect->Width(), rect->Height()));
}
