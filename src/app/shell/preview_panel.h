// The Render Preview panel: the model rendered by POV-Ray beside the wireframe, framed
// as the view frames it, and rendered again by itself after every change.
#pragma once

#include <QDockWidget>
#include <QImage>
#include <QString>

#include "app/shell/preview_renderer.h"

class CPolydromView;
class CPreviewCanvas;
class QAction;

class CPreviewPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CPreviewPanel(CPolydromView& view, QWidget* parent = nullptr);

    // The model or the view changed: render again once the changes pause, if shown.
    void Changed();

    CPreviewRenderer& Renderer() const { return *m_renderer; }
    // The picture on show (null while there is none) and the note shown instead of it.
    QImage Picture() const;
    QString Note() const;
    bool IsRendering() const { return m_renderer->IsRendering(); }
    // The size POV-Ray renders at: the panel's picture area in device pixels.
    QSize PictureSize() const;

    // The context menu's quality setting, kept in the settings store.
    QAction* AntialiasAction() const { return m_antialias; }

private:
    // The scene of the model as the view frames it now, or the note shown instead.
    CPreviewRenderer::JobMaker CurrentJob() const;

    CPolydromView& m_view;
    CPreviewCanvas* m_canvas = nullptr;
    CPreviewRenderer* m_renderer = nullptr;
    QAction* m_antialias = nullptr;
};
