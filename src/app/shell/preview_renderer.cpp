#include "app/shell/preview_renderer.h"

#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QThreadPool>

#include "app/povray_runner.h"
#include "app/shell/background_job.h"
#include "framework/owned_folders.h"

namespace {

constexpr const char* kPreviewFolderPrefix = "polydrom-preview-";


// Long enough to take in a held arrow key or a spun wheel as one change, short enough
// not to be noticed after a single one.
constexpr int kQuietSpell = 100;

std::string_view View(const QByteArray& bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }

}  // namespace

CPreviewRenderer::CPreviewRenderer(JobSource source, QObject* parent)
    : QObject(parent),
      m_source(std::move(source)),
      m_program(QString::fromLatin1(kPovRayProgram)),
      m_timeLimit(kPovRayTimeLimit)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kQuietSpell);
    connect(&m_timer, &QTimer::timeout, this, &CPreviewRenderer::Update);
}

CPreviewRenderer::~CPreviewRenderer()
{
    // POV-Ray must be gone before the folder it writes into is removed; the watcher ends
    // it within a tick. What it posted after that is dropped with this object.
    if (m_running) {
        *m_running->stop = true;
        m_running->watcher.join();
    }
}

void CPreviewRenderer::Changed() { m_timer.start(); }

void CPreviewRenderer::Stop()
{
    m_timer.stop();
    if (m_making) m_onMade = OnMade::Drop;
    m_waiting.reset();
    m_again = false;
    if (m_running && !m_running->cancelled) Cancel();
}

void CPreviewRenderer::Update()
{
    // The scene is made from the model, which a worker may be changing: asked again later.
    if (ModelBeingChanged()) {
        m_timer.start();
        return;
    }
    if (m_making) {
        m_onMade = OnMade::MakeAgain;
        return;
    }
    auto make = std::make_shared<JobMaker>(m_source());
    m_making = true;
    m_onMade = OnMade::Use;
    Q_EMIT Busy();
    // The maker owns what it reads; what it made comes back to this thread, where a
    // renderer gone meanwhile lets it go.
    QPointer<CPreviewRenderer> self(this);
    QThreadPool::globalInstance()->start([self, make] {
        auto job = std::make_shared<PreviewJob>();
        try {
            *job = (*make)();
        } catch (const std::bad_alloc&) {
            job->note = QStringLiteral("Not enough memory to make the scene for POV-Ray");
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, job] {
                if (self) self->OnJobMade(std::move(*job));
            },
            Qt::QueuedConnection);
    });
}

void CPreviewRenderer::OnJobMade(PreviewJob job)
{
    m_making = false;
    if (m_onMade == OnMade::Drop) {
        if (!m_running) Q_EMIT Idle();
        return;
    }
    if (m_onMade == OnMade::MakeAgain) {
        Update();
        return;
    }
    // The folder is made for the first render: a window whose preview is never opened
    // leaves nothing behind, even when it is killed.
    if (job.note.isEmpty() && !m_folder) {
        m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QLatin1Char('/') +
                                                   QLatin1String(kPreviewFolderPrefix) + QStringLiteral("XXXXXX"));
        // Named as this program's, so that the next start can clear it away should this one be killed.
        if (m_folder->isValid()) MarkFolderOwner(QFile::encodeName(m_folder->path()).toStdString());
    }
    if (job.note.isEmpty() && !m_folder->isValid())
        job = PreviewJob{QStringLiteral("Cannot make a temporary folder for POV-Ray: ") + m_folder->errorString(), {}};
    // Already on its way.
    if (m_running && !m_running->cancelled && m_running->job == job) return;
    m_waiting.reset();
    m_again = false;
    if (m_running && !m_running->cancelled) {
        ++m_cancelled;
        Cancel();
    }
    if ((m_shown && *m_shown == job) || !job.note.isEmpty()) {
        if (!job.note.isEmpty()) Show(job, job.note);
        if (!m_running) Q_EMIT Idle();
        return;
    }
    // A cancelled render ends first: one POV-Ray at a time.
    m_waiting = std::move(job);
    if (!m_running) StartWaiting();
}

void CPreviewRenderer::Cancel()
{
    m_running->cancelled = true;
    *m_running->stop = true;
}

void CPreviewRenderer::Start(PreviewJob job)
{
    ++m_serial;
    auto render = std::make_unique<Render>();
    render->job = std::move(job);
    render->again = std::exchange(m_again, false);
    render->scene = QStringLiteral("render-%1.pov").arg(m_serial);
    render->picture = QStringLiteral("render-%1.png").arg(m_serial);
    render->serial = m_serial;
    ChildCommand command{m_program.toStdString(),
                         PovRayArguments(render->scene.toStdString(), render->picture.toStdString(), render->job.width,
                                         render->job.height, render->job.antialias),
                         QFile::encodeName(m_folder->path()).toStdString()};
    ChildWatch watch;
    watch.timeLimit = m_timeLimit;
    watch.keepGoing = [stop = render->stop] { return !*stop; };
    // The watcher only posts: everything else happens on this object's thread, where a
    // message of a render that is no longer the running one is let go.
    const int serial = m_serial;
    watch.output = [this, serial](std::string_view bytes) {
        QByteArray copy(bytes.data(), qsizetype(bytes.size()));
        QMetaObject::invokeMethod(this, [this, serial, copy] { OnOutput(serial, copy); }, Qt::QueuedConnection);
        return true;
    };
    // The scene is written on the watcher's thread too: a big model's takes a while. The
    // text stays where it is until the watcher has been joined.
    const QString scenePath = QDir(m_folder->path()).filePath(render->scene);
    const std::string* text = &render->job.scene;
    render->watcher = std::thread([this, serial, scenePath, text, command = std::move(command),
                                   watch = std::move(watch)] {
        QFile scene(scenePath);
        if (!scene.open(QIODevice::WriteOnly) ||
            scene.write(text->data(), qint64(text->size())) != qint64(text->size()) || !scene.flush()) {
            const QString why = scene.errorString();
            QMetaObject::invokeMethod(
                this, [this, serial, why] { OnSceneNotWritten(serial, why); }, Qt::QueuedConnection);
            return;
        }
        scene.close();
        const ChildEnd end = RunProgram(command, watch);
        QMetaObject::invokeMethod(this, [this, serial, end] { OnFinished(serial, end); }, Qt::QueuedConnection);
    });
    m_running = std::move(render);
    Q_EMIT Progress(-1);
}

void CPreviewRenderer::OnOutput(int serial, const QByteArray& bytes)
{
    if (!m_running || m_running->serial != serial) return;
    Render& render = *m_running;
    render.output += bytes;
    if (render.cancelled || render.delivered) return;
    const int progress = PovRayProgress(View(render.output));
    if (progress != render.progress) {
        render.progress = progress;
        Q_EMIT Progress(progress);
    }
    // POV-Ray spends a good while tidying up after the picture is written: show it now,
    // and end the process, which has nothing left to do for us.
    if (PovRayPictureFinished(View(render.output)) && Deliver()) *render.stop = true;
}

void CPreviewRenderer::OnFinished(int serial, const ChildEnd& end)
{
    if (!m_running || m_running->serial != serial) return;
    Render& render = *m_running;
    if (!render.cancelled && !render.delivered) {
        switch (end.how) {
        case ChildEnd::How::NotStarted:
            Show(render.job, QString::fromStdString(PovRayMissingReason(m_program.toStdString(),
                                                                        std::strerror(end.code))));
            break;
        case ChildEnd::How::TimedOut:
            Show(render.job, QStringLiteral("The render was cut short: %1.")
                                 .arg(QString::fromStdString(PovRayTimeoutReason(end.limit))));
            break;
        case ChildEnd::How::Signalled:
        case ChildEnd::How::Cancelled:
            Show(render.job, QStringLiteral("The render was cut short: POV-Ray was %1.")
                                 .arg(QString::fromStdString(end.Describe())));
            break;
        case ChildEnd::How::Exited:
            if (end.code != 0 && !render.again && !m_waiting && PovRayStartTimedOut(View(render.output))) {
                m_waiting = render.job;  // started once more as this one retires
                m_again = true;
            } else if (end.code != 0) {
                Show(render.job, QString::fromStdString(PovRayFailureReason(View(render.output), end.code)));
            } else if (!Deliver()) {
                Show(render.job, QStringLiteral("POV-Ray ended without writing a readable picture."));
            }
            break;
        }
    }
    Retire();
}

void CPreviewRenderer::OnSceneNotWritten(int serial, const QString& why)
{
    if (!m_running || m_running->serial != serial) return;
    if (!m_running->cancelled) Show(m_running->job, QStringLiteral("Cannot write the scene for POV-Ray: ") + why);
    Retire();
}

bool CPreviewRenderer::Deliver()
{
    Render& render = *m_running;
    QFile file(QDir(m_folder->path()).filePath(render.picture));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    // A PNG ends with its IEND chunk; anything shorter is still being written.
    static const QByteArray kEnd("IEND\xae\x42\x60\x82", 8);
    QImage picture;
    if (!bytes.endsWith(kEnd) || !picture.loadFromData(bytes, "PNG") ||
        picture.size() != QSize(render.job.width, render.job.height))
        return false;
    render.delivered = true;
    m_shown = render.job;
    m_noteOnShow.clear();
    Q_EMIT PictureReady(picture);
    return true;
}

void CPreviewRenderer::Show(const PreviewJob& job, const QString& note)
{
    m_shown = job;
    // A failure that every change meets again (no POV-Ray installed) is said once.
    if (note == m_noteOnShow) return;
    m_noteOnShow = note;
    Q_EMIT NoteReady(note);
}

void CPreviewRenderer::Retire()
{
    if (m_running) {
        std::unique_ptr<Render> done = std::exchange(m_running, nullptr);
        // Its end has been posted, its last act: the thread is done or about to be.
        done->watcher.join();
        QDir folder(m_folder->path());
        folder.remove(done->scene);
        folder.remove(done->picture);
        // POV-Ray's note for continuing a render, left behind when it was ended early.
        folder.remove(done->scene + QStringLiteral("-state"));
    }
    StartWaiting();
}

void CPreviewRenderer::StartWaiting()
{
    if (m_waiting) {
        PreviewJob job = std::move(*m_waiting);
        m_waiting.reset();
        Start(std::move(job));
    }
    if (!m_running) Q_EMIT Idle();
}

int RemoveAbandonedPreviewFolders()
{
    return RemoveAbandonedFolders(QFile::encodeName(QDir::tempPath()).toStdString(), kPreviewFolderPrefix);
}
