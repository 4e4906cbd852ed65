// The orthographic wireframe view of the model (drawing, panels, mouse editing, navigation).
#pragma once

#include "framework/view.h"

class CPolydromDoc;

class CPolydromView : public CView {
public:
    CPolydromView() = default;
    CPolydromDoc* GetDocument() const;
    void OnDraw(CDC*) override {}
};
