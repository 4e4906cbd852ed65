#include "app/shell/preview_panel.h"

#include <cmath>
#include <functional>
#include <utility>

#include <QAction>
#include <QPainter>
#include <QProgressBar>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "app/shell/settings.h"
#include "view/preview_scene.h"

namespace {

const QString kAntialiasKey = QStringLiteral("RenderPreview/antialias");

// The scene's background as the picture shows it, so that the panel looks the same
// before the first picture, around a note and beside a picture still being rendered.
const QColor kBackground(239, 241, 246);

}  // namespace

// The picture area: the last picture or a note, and a progress bar while POV-Ray runs.
class CPreviewCanvas : public QWidget {
public:
    explicit CPreviewCanvas(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("RenderPreviewPicture"));
        setMinimumSize(80, 60);
        setAttribute(Qt::WA_OpaquePaintEvent);
        m_progress = new QProgressBar(this);
        m_progress->setObjectName(QStringLiteral("RenderPreviewProgress"));
        m_progress->setFormat(QStringLiteral("Rendering %p%"));
        m_progress->hide();
    }

    void ShowPicture(const QImage& picture)
    {
        m_picture = picture;
        m_note.clear();
        update();
    }
    void ShowNote(const QString& note)
    {
        m_picture = QImage();
        m_note = note;
        update();
    }
    // percent -1: busy, without knowing how far.
    void ShowProgress(int percent)
    {
        m_progress->setRange(0, percent < 0 ? 0 : 100);
        if (percent >= 0) m_progress->setValue(percent);
        m_progress->show();
    }
    void HideProgress() { m_progress->hide(); }

    const QImage& Picture() const { return m_picture; }
    const QString& Note() const { return m_note; }

    QSize DeviceSize() const
    {
        const qreal ratio = devicePixelRatioF();
        return QSize(int(std::lround(width() * ratio)), int(std::lround(height() * ratio)));
    }

    std::function<void()> onResize;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kBackground);
        if (!m_picture.isNull()) {
            QImage picture = m_picture;
            picture.setDevicePixelRatio(devicePixelRatioF());
            painter.drawImage(QPoint(0, 0), picture);
        } else if (!m_note.isEmpty()) {
            painter.setPen(QColor(70, 70, 70));
            painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap, m_note);
        }
    }
    void resizeEvent(QResizeEvent*) override
    {
        const int height = m_progress->sizeHint().height();
        m_progress->setGeometry(0, this->height() - height, width(), height);
        if (onResize) onResize();
    }

private:
    QImage m_picture;
    QString m_note;
    QProgressBar* m_progress = nullptr;
};

CPreviewPanel::CPreviewPanel(CPolydromView& view, QWidget* parent)
    : QDockWidget(QStringLiteral("Render Preview"), parent), m_view(view)
{
    // The window layout is saved and restored under this name.
    setObjectName(QStringLiteral("RenderPreview"));
    m_canvas = new CPreviewCanvas(this);
    setWidget(m_canvas);
    m_renderer = new CPreviewRenderer([this] { return CurrentJob(); }, this);

    m_antialias = new QAction(QStringLiteral("&Antialiasing"), this);
    m_antialias->setCheckable(true);
    m_antialias->setChecked(OpenSettings()->value(kAntialiasKey, false).toBool());
    m_antialias->setStatusTip(QStringLiteral("Smooth the edges of the rendered model, at the cost of a slower render"));
    m_canvas->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_canvas->addAction(m_antialias);
    connect(m_antialias, &QAction::toggled, this, [this](bool on) {
        OpenSettings()->setValue(kAntialiasKey, on);
        Changed();
    });

    m_canvas->onResize = [this] { Changed(); };
    connect(m_renderer, &CPreviewRenderer::PictureReady, this, [this](const QImage& p) { m_canvas->ShowPicture(p); });
    connect(m_renderer, &CPreviewRenderer::NoteReady, this, [this](const QString& n) { m_canvas->ShowNote(n); });
    connect(m_renderer, &CPreviewRenderer::Progress, this, [this](int percent) { m_canvas->ShowProgress(percent); });
    connect(m_renderer, &CPreviewRenderer::Busy, this, [this] { m_canvas->ShowProgress(-1); });
    connect(m_renderer, &CPreviewRenderer::Idle, this, [this] { m_canvas->HideProgress(); });
    // Nobody looks at a hidden panel: it renders only while shown.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            Changed();
        else
            m_renderer->Stop();
    });
}

void CPreviewPanel::Changed()
{
    if (isVisible()) m_renderer->Changed();
}

QImage CPreviewPanel::Picture() const { return m_canvas->Picture(); }

QString CPreviewPanel::Note() const { return m_canvas->Note(); }

QSize CPreviewPanel::PictureSize() const { return m_canvas->DeviceSize(); }

CPreviewRenderer::JobMaker CPreviewPanel::CurrentJob() const
{
    const QSize size = PictureSize();
    const bool antialias = m_antialias->isChecked();
    // The model is copied now; the scene is made from the copy on the renderer's thread.
    return [source = TakePreviewSource(m_view), size, antialias] {
        PreviewScene scene = BuildPreviewScene(source, size.width(), size.height());
        PreviewJob job;
        if (!scene.ok) {
            job.note = QString::fromStdString(scene.error);
            if (!job.note.isEmpty()) job.note[0] = job.note[0].toUpper();
            return job;
        }
        if (!scene.edgeOnNote.empty()) {
            job.note = QString::fromStdString(scene.edgeOnNote);
            return job;
        }
        job.scene = std::move(scene.text);
        job.width = size.width();
        job.height = size.height();
        job.antialias = antialias;
        return job;
    };
}
