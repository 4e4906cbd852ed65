// The 3-D View panel: the canvas when OpenGL can be had, a note when it cannot, and the
// context menu of views.
#include "app/shell/shaded_panel.h"

#include <QAction>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>

#include "app/shell/shaded_canvas.h"
#include "app/shell/shaded_renderer.h"

CShadedPanel::CShadedPanel(CPolydromView& view, QWidget* parent)
    : QDockWidget(QStringLiteral("3-D View"), parent), m_view(view)
{
    // The window layout is saved and restored under this name.
    setObjectName(QStringLiteral("View3D"));
    m_holder = new QWidget(this);
    m_holder->setMinimumSize(80, 60);
    auto* layout = new QGridLayout(m_holder);
    layout->setContentsMargins(0, 0, 0, 0);
    m_note = new QLabel(m_holder);
    m_note->setObjectName(QStringLiteral("View3DNote"));
    m_note->setAlignment(Qt::AlignCenter);
    m_note->setWordWrap(true);
    m_note->setMargin(12);
    m_note->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_note->hide();
    layout->addWidget(m_note, 0, 0);
    setWidget(m_holder);

    m_perspective = new QAction(QStringLiteral("&Perspective\tP"), this);
    m_perspective->setCheckable(true);
    m_perspective->setChecked(true);
    m_perspective->setStatusTip(QStringLiteral("Draw in perspective, or orthographic as the wireframe does"));

    // The canvas needs OpenGL: it is made when first needed, so that a machine without
    // OpenGL, or a user who never opens the panel, is not touched by it.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible) return;
        if (!m_tried) MakeCanvas();
        Changed();
    });
}

void CShadedPanel::MakeCanvas()
{
    m_tried = true;
    QString reason;
    auto fail = [this](const QString& why) {
        m_note->setText(QStringLiteral("OpenGL is not available: %1. The rest of Polydrom works without it.").arg(why));
        m_note->show();
    };
    // Some platforms (offscreen, minimal) give OpenGL contexts but cannot put their
    // pictures in a window: the widget would only fail there.
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal")) {
        fail(QStringLiteral("the \"%1\" window system cannot show OpenGL in a window").arg(platform));
        return;
    }
    if (!OpenGlAvailable(&reason)) {
        fail(reason);
        return;
    }
    m_canvas = new CShadedCanvas(m_view, m_holder);
    static_cast<QGridLayout*>(m_holder->layout())->addWidget(m_canvas, 0, 0);
    m_note->raise();
    connect(m_canvas, &CShadedCanvas::Failed, this, [this, fail](const QString& why) {
        m_canvas->hide();
        fail(why);
    });
    connect(m_canvas, &CShadedCanvas::NoteChanged, this, [this](const QString& note) {
        m_note->setText(note);
        m_note->setVisible(!note.isEmpty());
    });
    m_note->setText(m_canvas->Note());
    m_note->setVisible(!m_canvas->Note().isEmpty());

    connect(m_perspective, &QAction::toggled, m_canvas, &CShadedCanvas::SetPerspective);
    connect(m_canvas, &CShadedCanvas::PerspectiveChanged, m_perspective, &QAction::setChecked);
    auto* fit = new QAction(QStringLiteral("&Fit\tHome"), m_canvas);
    connect(fit, &QAction::triggered, m_canvas, &CShadedCanvas::FitModel);
    m_canvas->addAction(fit);
    m_canvas->addAction(m_perspective);
    const char* names[] = {"X", "Y", "Z"};
    for (int axis = 0; axis < 3; ++axis)
        for (const bool opposite : {false, true}) {
            const QString key = QString::fromLatin1(names[axis]);
            auto* along = new QAction(
                opposite ? QStringLiteral("Along %1 from the Other Side\tShift+%1").arg(key)
                         : QStringLiteral("Along &%1\t%1").arg(key),
                m_canvas);
            connect(along, &QAction::triggered, m_canvas, [this, axis, opposite] { m_canvas->SnapToAxis(axis, opposite); });
            m_canvas->addAction(along);
        }
    m_canvas->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CShadedPanel::Changed()
{
    if (m_canvas && isVisible()) m_canvas->ModelChanged();
}

QString CShadedPanel::Note() const { return m_note->isHidden() ? QString() : m_note->text(); }
