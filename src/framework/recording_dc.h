// A device context that draws nothing and writes down every call, so tests can
// compare a paint with the expected calls ("LineTo(413,323) pen=red").
#pragma once

#include <string>
#include <vector>

#include "framework/dc.h"

class CRecordingDC : public CDC {
public:
    // "black", "red", "white", otherwise "rgb(r,g,b)".
    static std::string ColorName(COLORREF color);

    // Every call in order, one line each:
    //   SelectObject(pen red) / SelectObject(brush rgb(220,220,255)) / SelectObject(pen none)
    //   MoveTo(408,318)
    //   LineTo(413,323) pen=red
    //   TextOut(990,600,"768")
    //   FillRect(560,12,784,192) brush=rgb(220,220,255)
    //   Draw3dRect(559,11,226,182,black,rgb(80,80,80))
    //   SelectClipRect(560,12,784,192) / SelectClipRect(none)
    const std::vector<std::string>& Calls() const { return m_calls; }
    // Only the lines drawn, as "(408,318)-(413,323) red", with the clip in force
    // appended as " clip=(l,t,r,b)" when there is one.
    const std::vector<std::string>& Lines() const { return m_lines; }
    void Reset();

    const CPen* SelectObject(const CPen* pen) override;
    const CBrush* SelectObject(const CBrush* brush) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(const CRect& rect, const CBrush* brush) override;
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) override;
    void SelectClipRect(const CRect* rect) override;

private:
    std::vector<std::string> m_calls;
    std::vector<std::string> m_lines;
};
