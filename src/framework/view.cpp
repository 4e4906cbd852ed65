// The view base: leaving its document, repaint requests and the client rectangle through its host.
#include "framework/view.h"

#include "framework/document.h"

CView::~CView()
{
    if (m_pDocument) m_pDocument->RemoveView(this);
}

void CView::OnUpdate(CView*, long, void*)
{
    if (m_host) m_host->Invalidate();
}

CRect CView::GetClientRect() const
{
    return m_host ? m_host->GetClientRect() : CRect{};
}
