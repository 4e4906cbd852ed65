// The recovery copy's timer on the user-interface thread and its writer thread.
#include "app/shell/recovery_writer.h"

#include <exception>
#include <string>

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>

#include "app/shell/background_job.h"
#include "app/shell/main_frame.h"
#include "app/shell/status_bar.h"
#include "model/polydrom_doc.h"

CRecoveryWriter::CRecoveryWriter(CMainFrame& frame, CPolydromDoc& doc, CRecoveryStore store)
    : m_frame(frame), m_doc(doc), m_copyDue(store.HasCopy()), m_store(std::move(store)), m_worker([this] { Work(); })
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryWriter::WriteNow);
    connect(&frame, &CMainFrame::DocumentStateChanged, this, &CRecoveryWriter::Follow);
    Follow();
}

CRecoveryWriter::~CRecoveryWriter()
{
    m_timer.stop();
    {
        std::lock_guard lock(m_mutex);
        m_pending = Removal();
        m_stop = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void CRecoveryWriter::Follow()
{
    if (m_doc.IsModified()) {
        // The first change of a burst starts the clock; the rest ride along, so a steady
        // stream of changes is still copied every kRecoveryDelayMs.
        if (!m_timer.isActive()) m_timer.start(kRecoveryDelayMs);
        return;
    }
    m_timer.stop();
    if (!m_copyDue) return;
    m_copyDue = false;
    // A failure of the copy now gone is no news about the next one.
    m_failure.clear();
    Post(Removal());
}

void CRecoveryWriter::WriteNow()
{
    m_timer.stop();
    if (!m_doc.IsModified()) return;
    // Not while a worker changes the arrays: the copy is taken a while after that change.
    if (ModelBeingChanged()) {
        m_timer.start(kRecoveryDelayMs);
        return;
    }
    // The only work on this thread: a copy of the arrays. Bytes and disk are the worker's.
    Job job;
    try {
        TakeSnapshot(m_doc, &job.snapshot);
    } catch (const std::bad_alloc&) {
        // No room for a copy of a huge model: said like a failed write, and tried again later.
        Written(Result::Failure("not enough memory for a copy of the model"));
        return;
    }
    job.original = m_doc.GetPathName();
    job.time = QDateTime::currentSecsSinceEpoch();
    m_copyDue = true;
    Post(std::move(job));
}

void CRecoveryWriter::WaitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_pending; });
}

QString CRecoveryWriter::ModelPath() const
{
    std::lock_guard lock(m_mutex);
    return QFile::decodeName(QByteArray::fromStdString(m_modelPath));
}

CRecoveryWriter::Job CRecoveryWriter::Removal()
{
    Job job;
    job.remove = true;
    return job;
}

void CRecoveryWriter::Post(Job job)
{
    std::optional<Job> replaced;
    {
        std::lock_guard lock(m_mutex);
        replaced = std::exchange(m_pending, std::move(job));
    }
    m_wake.notify_one();
}

void CRecoveryWriter::Work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending) break;
        const Job job = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        const Result result = Carry(job);
        const std::string path = m_store.HasCopy() ? m_store.ModelPath() : std::string();
        lock.lock();
        m_busy = false;
        m_modelPath = path;
        m_idle.notify_all();
        // After the destructor began nobody is left to tell.
        if (!job.remove && !m_stop)
            QMetaObject::invokeMethod(this, [this, result] { Written(result); }, Qt::QueuedConnection);
    }
}

Result CRecoveryWriter::Carry(const Job& job)
{
    if (job.remove) {
        m_written.clear();
        return m_store.Remove();
    }
    std::vector<unsigned char> bytes;
    try {
        bytes = SnapshotBytes(job.snapshot);
    } catch (const std::exception& e) {
        // Commands keep every coordinate finite; should one slip through, no copy beats a bad one.
        return Result::Failure(std::string("Cannot write the recovery copy: ") + e.what());
    }
    // A command that changed nothing the file holds (a pan, say) brings no new write.
    if (m_store.HasCopy() && bytes == m_written && job.original == m_writtenOriginal) return Result::Success();
    Result result = m_store.Write(bytes, job.original, job.time);
    if (result) {
        m_written = std::move(bytes);
        m_writtenOriginal = job.original;
    } else {
        m_written.clear();
    }
    return result;
}

QString RecoveryFailureText(const QString& failure)
{
    // "Cannot write "/home/ann/.local/.../4242.pdm": No space left on device." The
    // reason comes first, where a narrow status bar still shows it.
    QString reason = failure;
    if (const qsizetype quote = failure.lastIndexOf(QStringLiteral("\": ")); quote >= 0) reason = failure.mid(quote + 3);
    if (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
    return QStringLiteral("%1: recovery copy not written; trying again").arg(reason);
}

void CRecoveryWriter::Written(const Result& result)
{
    if (result) {
        m_failure.clear();
        return;
    }
    // Said once until a write succeeds again: a dialog per change would stop the very
    // work the copy is there to keep.
    const QString failure = QFile::decodeName(QByteArray::fromStdString(result.error));
    if (m_failure.isEmpty()) m_frame.StatusBar()->ShowOutcome(RecoveryFailureText(failure), failure);
    m_failure = failure;
    if (!m_timer.isActive()) m_timer.start(kRecoveryRetryMs);
}
