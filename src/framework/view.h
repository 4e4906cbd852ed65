// The view base: attached to one document, painted through a CDC, hosted by a window.
#pragma once

#include "framework/geometry.h"

class CDC;
class CDocument;

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
