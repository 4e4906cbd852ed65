// Renders the preview's scenes with POV-Ray in the background: one process at a time, a
// burst of changes coalesced into one render, a running render cancelled by a newer one
// or cut short at its time limit, and the scene and picture files in a private temporary
// folder removed with the renderer. Each render is watched by a thread of its own.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <QImage>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include "framework/child_process.h"

// What the preview should show now: a scene to render at a size, or a note instead.
struct PreviewJob {
    QString note;
    std::string scene;
    int width = 0, height = 0;
    bool antialias = false;
    friend bool operator==(const PreviewJob&, const PreviewJob&) = default;
};

class CPreviewRenderer : public QObject {
    Q_OBJECT
public:
    // The source is asked once the changes pause, so a burst of them costs one scene. It
    // takes what the job needs from the window at once and returns the work that makes
    // it, which runs on a thread of its own: the scene of a million vertices takes more
    // than a second. That work must own whatever it reads.
    using JobMaker = std::function<PreviewJob()>;
    using JobSource = std::function<JobMaker()>;
    explicit CPreviewRenderer(JobSource source, QObject* parent = nullptr);
    ~CPreviewRenderer() override;

    // Something the picture depends on changed: ask the source again after a quiet spell.
    void Changed();
    // Ends the running render and forgets the waiting one (nobody is looking).
    void Stop();

    bool IsRendering() const { return m_running != nullptr; }
    // Renders ended because a newer one was asked for.
    int CancelledCount() const { return m_cancelled; }
    // The private folder of the scene and picture files, once the first render made it.
    QString Folder() const { return m_folder ? m_folder->path() : QString(); }

    // The program to run, "povray" on PATH unless a test says otherwise.
    void SetProgram(const QString& program) { m_program = program; }
    // How long one render may take before it is stopped and the panel says so.
    void SetTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }
    // The quiet spell that coalesces changes.
    void SetDelay(int milliseconds) { m_timer.setInterval(milliseconds); }

Q_SIGNALS:
    void PictureReady(const QImage& picture);
    // Shown instead of a picture: a model without triangles, or why POV-Ray failed.
    void NoteReady(const QString& note);
    // A render started (percent -1 while unknown) or went on.
    void Progress(int percent);
    // A scene is being made, before its render starts.
    void Busy();
    // No render is running any more, nor waiting.
    void Idle();

private:
    struct Render {
        int serial = 0;
        std::thread watcher;  // runs POV-Ray, and ends when it has ended
        std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
        PreviewJob job;
        QString scene, picture;  // file names in the folder
        QByteArray output;
        int progress = -1;
        bool cancelled = false;
        bool delivered = false;
        bool again = false;  // POV-Ray's second start, after its threads were slow to start
    };

    void Update();
    void OnJobMade(PreviewJob job);
    void Start(PreviewJob job);
    void OnSceneNotWritten(int serial, const QString& why);
    void Cancel();
    void OnOutput(int serial, const QByteArray& bytes);
    void OnFinished(int serial, const ChildEnd& end);
    // The finished picture of the running render, once POV-Ray has written it whole.
    bool Deliver();
    void Show(const PreviewJob& job, const QString& note);
    // The running render is over: its files go, and the waiting render starts.
    void Retire();
    void StartWaiting();

    JobSource m_source;
    // One scene is made at a time; what to do with it when it comes: use it, drop it for
    // a newer one (the model changed meanwhile), or drop it (nobody is looking).
    enum class OnMade { Use, MakeAgain, Drop };
    bool m_making = false;
    OnMade m_onMade = OnMade::Use;
    QString m_program;
    std::chrono::milliseconds m_timeLimit;
    std::unique_ptr<QTemporaryDir> m_folder;
    QTimer m_timer;
    std::unique_ptr<Render> m_running;
    std::optional<PreviewJob> m_waiting;
    bool m_again = false;  // the waiting render is a second start of the last one
    // What is on show, so that a change that changes nothing renders nothing.
    std::optional<PreviewJob> m_shown;
    QString m_noteOnShow;  // empty while a picture is on show
    int m_serial = 0;
    int m_cancelled = 0;
};

// At start-up: removes the preview folders in the temporary folder that a killed program
// left behind (those of programs still running stay). Returns how many went.
int RemoveAbandonedPreviewFolders();
