// The 3-D View panel: the export's triangles shaded beside the wireframe, turned, moved
// and zoomed with the mouse, following every change of the model and the selection.
#pragma once

#include <QDockWidget>
#include <QString>

class CPolydromView;
class CShadedCanvas;
class QAction;
class QLabel;

class CShadedPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CShadedPanel(CPolydromView& view, QWidget* parent = nullptr);

    // The model or its selection changed: draw it again by the next frame, if shown.
    void Changed();

    // The canvas (null until the panel is first shown, and when OpenGL is not available)
    // and the note shown instead of the picture or over it (empty when none).
    CShadedCanvas* Canvas() const { return m_canvas; }
    QString Note() const;

    QAction* PerspectiveAction() const { return m_perspective; }

private:
    // Makes the canvas the first time the panel is shown, or says why it cannot.
    void MakeCanvas();

    CPolydromView& m_view;
    QWidget* m_holder = nullptr;
    CShadedCanvas* m_canvas = nullptr;
    QLabel* m_note = nullptr;
    QAction* m_perspective = nullptr;
    bool m_tried = false;
};
