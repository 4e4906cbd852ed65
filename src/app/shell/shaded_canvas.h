// The 3-D View's drawing surface: an OpenGL widget that keeps the model's triangles on
// the graphics card, sends it only what a change touched, and turns, moves and zooms
// the camera without sending anything.
#pragma once

#include <cstddef>

#include <QOpenGLWidget>
#include <QPoint>
#include <QString>

#include "app/shell/shaded_renderer.h"
#include "view/orbit_camera.h"
#include "view/shaded_mesh.h"

class CPolydromView;

class CShadedCanvas : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit CShadedCanvas(CPolydromView& view, QWidget* parent = nullptr);
    ~CShadedCanvas() override;

    // The model or the selection changed: the arrays are built again - at once while
    // that is quick, otherwise on a worker thread while the last ones stay on show.
    void ModelChanged();

    OrbitCamera& Camera() { return m_camera; }
    void SnapToAxis(int axis, bool opposite);
    void FitModel();
    void SetPerspective(bool perspective);

    // What is known of the picture: the triangles drawn, the note about it, the bytes
    // the last upload sent, whether a build runs, and why OpenGL failed (empty if not).
    int Triangles() const { return m_mesh.triangles; }
    QString Note() const { return QString::fromStdString(m_mesh.note); }
    std::size_t LastUpload() const { return m_lastUpload; }
    bool IsBuilding() const { return m_building; }
    QString Failure() const { return m_failure; }
    // Builds that took longer than this go to a worker thread next time.
    void SetQuickBuildLimit(double milliseconds) { m_quickLimitMs = milliseconds; }

Q_SIGNALS:
    void NoteChanged(const QString& note);
    void Failed(const QString& reason);
    void PerspectiveChanged(bool perspective);

protected:
    void initializeGL() override;
    void paintGL() override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Take(ShadedMesh mesh);
    void StartBuild();
    void ReleaseGl();

    CPolydromView& m_view;
    CShadedRenderer m_renderer;
    OrbitCamera m_camera;
    ShadedMesh m_mesh;  // the newest arrays; the corners go once the card has them
    bool m_ready = false;
    bool m_uploadPending = false;
    bool m_fitPending = true;
    bool m_building = false;
    bool m_stale = false;  // changed while a build ran: build again when it ends
    double m_lastBuildMs = 0;
    double m_quickLimitMs = 15;
    std::size_t m_lastUpload = 0;
    QPoint m_pointer;
    enum class Drag { None, Orbit, Pan } m_drag = Drag::None;
    QString m_failure;
};
