// A device context that draws on a QPainter, for the printed and previewed page: the
// view's pixels become the printer's device units, drawn as vectors.
#pragma once

#include "framework/dc.h"

class QPainter;

class CPainterDC : public CDC {
public:
    explicit CPainterDC(QPainter& painter);

    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(const CRect& rect, const CBrush* brush) override;
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) override;
    void SelectClipRect(const CRect* rect) override;

private:
    QPainter& m_painter;
};
