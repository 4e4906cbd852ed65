// Mouse and keys of the 3-D View, and when its arrays are built and sent.
#include "app/shell/shaded_canvas.h"

#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPointer>
#include <QThreadPool>
#include <QWheelEvent>

#include "app/shell/background_job.h"
#include "view/polydrom_view.h"

namespace {

// The keys the canvas answers itself, ahead of the main window's shortcuts (Home, X, Y
// and Z mean something else there) while it has the focus.
bool OwnKey(int key)
{
    return key == Qt::Key_Home || key == Qt::Key_X || key == Qt::Key_Y || key == Qt::Key_Z || key == Qt::Key_P;
}

}  // namespace

CShadedCanvas::CShadedCanvas(CPolydromView& view, QWidget* parent) : QOpenGLWidget(parent), m_view(view)
{
    setObjectName(QStringLiteral("View3DCanvas"));
    setFormat(ShadedSurfaceFormat());
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(80, 60);
    m_camera.SnapToAxis(view.MainAxes().d, false);
    ModelChanged();
}

CShadedCanvas::~CShadedCanvas()
{
    // The base class destroys the context after this part of the object is gone: its
    // signal must no longer reach ReleaseGl then.
    if (context()) disconnect(context(), nullptr, this, nullptr);
    if (m_ready && context()) {
        makeCurrent();
        m_renderer.Release();
        doneCurrent();
    }
}

void CShadedCanvas::ReleaseGl()
{
    // The context goes (the panel floats, docks again): its buffers go with it, and the
    // next one gets the arrays afresh.
    makeCurrent();
    m_renderer.Release();
    doneCurrent();
    m_ready = false;
}

void CShadedCanvas::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &CShadedCanvas::ReleaseGl, Qt::UniqueConnection);
    QString reason;
    if (!m_renderer.Initialize(&reason)) {
        m_failure = reason;
        Q_EMIT Failed(reason);
        return;
    }
    m_ready = true;
    ModelChanged();
}

void CShadedCanvas::Take(ShadedMesh mesh)
{
    const bool noteChanged = mesh.note != m_mesh.note;
    m_mesh = std::move(mesh);
    m_uploadPending = true;
    if (noteChanged) Q_EMIT NoteChanged(Note());
    update();
}

void CShadedCanvas::ModelChanged()
{
    // A worker changing the model: the news of that change brings this back when it ends.
    if (m_building || ModelBeingChanged()) {
        m_stale = true;
        return;
    }
    if (m_lastBuildMs > m_quickLimitMs) {
        StartBuild();
        return;
    }
    QElapsedTimer timer;
    timer.start();
    ShadedMesh mesh = BuildShadedMesh(CopyModel(*m_view.GetDocument()));
    m_lastBuildMs = double(timer.nsecsElapsed()) / 1e6;
    Take(std::move(mesh));
}

void CShadedCanvas::StartBuild()
{
    m_building = true;
    m_stale = false;
    // The copy is taken here, on this thread, in one go; the worker never sees the model.
    auto source = std::make_shared<ModelCopy>(CopyModel(*m_view.GetDocument()));
    QPointer<CShadedCanvas> self(this);
    QThreadPool::globalInstance()->start([self, source] {
        QElapsedTimer timer;
        timer.start();
        auto mesh = std::make_shared<ShadedMesh>(BuildShadedMesh(*source));
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        // Back on the user-interface thread, where alone the canvas may be looked at.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, mesh, ms] {
                if (!self) return;
                self->m_building = false;
                self->m_lastBuildMs = ms;
                self->Take(std::move(*mesh));
                if (self->m_stale) self->ModelChanged();
            },
            Qt::QueuedConnection);
    });
}

void CShadedCanvas::paintGL()
{
    if (!m_ready) return;
    const qreal ratio = devicePixelRatioF();
    const int width = int(this->width() * ratio + 0.5), height = int(this->height() * ratio + 0.5);
    if (m_uploadPending) {
        m_lastUpload = m_renderer.Upload(m_mesh);
        m_uploadPending = false;
        // The card keeps its own copy; this one is not needed until the next build.
        std::vector<float>().swap(m_mesh.corners);
        if (m_fitPending && !m_mesh.bounds.empty) {
            m_camera.Fit(m_mesh.bounds, width, height);
            m_fitPending = false;
        }
    }
    m_renderer.Draw(m_camera, width, height);
}

void CShadedCanvas::SnapToAxis(int axis, bool opposite)
{
    m_camera.SnapToAxis(axis, opposite);
    FitModel();
}

void CShadedCanvas::FitModel()
{
    if (m_mesh.bounds.empty) {
        m_fitPending = true;
    } else {
        m_camera.Fit(m_mesh.bounds, width(), height());
        m_fitPending = false;
    }
    update();
}

void CShadedCanvas::SetPerspective(bool perspective)
{
    if (perspective == m_camera.Perspective()) return;
    m_camera.SetPerspective(perspective);
    Q_EMIT PerspectiveChanged(perspective);
    update();
}

bool CShadedCanvas::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (OwnKey(key->key()) && modifiers == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QOpenGLWidget::event(event);
}

void CShadedCanvas::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Home: FitModel(); break;
    case Qt::Key_X: SnapToAxis(0, shift); break;
    case Qt::Key_Y: SnapToAxis(1, shift); break;
    case Qt::Key_Z: SnapToAxis(2, shift); break;
    case Qt::Key_P: SetPerspective(!m_camera.Perspective()); break;
    default: QOpenGLWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void CShadedCanvas::mousePressEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier)))
        m_drag = Drag::Pan;
    else if (event->button() == Qt::LeftButton)
        m_drag = Drag::Orbit;
    setFocus(Qt::MouseFocusReason);
}

void CShadedCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint now = event->position().toPoint();
    const QPoint delta = now - m_pointer;
    m_pointer = now;
    if (m_drag == Drag::Orbit)
        m_camera.Orbit(delta.x(), delta.y());
    else if (m_drag == Drag::Pan)
        m_camera.Pan(delta.x(), delta.y(), height());
    else
        return;
    update();
}

void CShadedCanvas::mouseReleaseEvent(QMouseEvent*) { m_drag = Drag::None; }

void CShadedCanvas::wheelEvent(QWheelEvent* event)
{
    const QPointF at = event->position();
    m_camera.ZoomAbout(at.x(), at.y(), width(), height(), event->angleDelta().y() / 120.0);
    update();
    event->accept();
}
