// The view base: attached to one document, painted through a CDC, hosted by a window.
#pragma once

class CDC;
class CDocument;

struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct CPoint {
    int x = 0, y = 0;
};

// Key-state bits delivered with a mouse message.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;
constexpr unsigned MK_MBUTTON = 0x0010;

// What a window does for the view it hosts: tell its client size and schedule a repaint.
class CViewHost {
public:
    virtual ~CViewHost() = default;
    virtual CRect GetClientRect() const = 0;
    virtual void Invalidate() = 0;
};

class CView {
public:
    CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }
    void SetHost(CViewHost* host) { m_host = host; }
    CViewHost* GetHost() const { return m_host; }

    virtual void OnDraw(CDC* pDC) = 0;
    // Invalidates the whole client area; the host repaints it later.
    virtual void OnUpdate(CView* sender, long hint, void* object);

    // The client rectangle of the hosting window (empty without a host).
    CRect GetClientRect() const;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    CViewHost* m_host = nullptr;
};
