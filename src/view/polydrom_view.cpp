#include "view/polydrom_view.h"

#include "model/polydrom_doc.h"

CPolydromDoc* CPolydromView::GetDocument() const { return static_cast<CPolydromDoc*>(CView::GetDocument()); }
