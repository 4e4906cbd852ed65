// The device context base: the selected pen and brush, the position and the clip.
#include "framework/dc.h"

const CPen* CDC::SelectObject(const CPen* pen)
{
    const CPen* previous = m_pen;
    m_pen = pen;
    return previous;
}

const CBrush* CDC::SelectObject(const CBrush* brush)
{
    const CBrush* previous = m_brush;
    m_brush = brush;
    return previous;
}

void CDC::MoveTo(int x, int y) { m_position = {x, y}; }

void CDC::SelectClipRect(const CRect* rect)
{
    m_clipped = rect != nullptr;
    if (rect) m_clip = *rect;
}

void CDC::ResetState()
{
    m_pen = nullptr;
    m_brush = nullptr;
    m_position = {};
    m_clipped = false;
}
