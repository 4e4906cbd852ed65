// Keeps a recovery copy of the unsaved model: a snapshot on the user-interface thread
// shortly after a change, written to disk on a worker thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

#include "framework/recovery_store.h"
#include "model/recovery_copy.h"

class CMainFrame;
class CPolydromDoc;

// The copy is written this long after the first of a burst of changes; the changes
// that follow within it share that write. With the write itself the copy is at most
// about two seconds behind the model.
inline constexpr int kRecoveryDelayMs = 1000;
// After a failed write the next attempt waits longer, not to hammer a full disk.
inline constexpr int kRecoveryRetryMs = 3000;

// The status bar's line for a failed write, its reason first ("No space left on device:
// recovery copy not written; trying again"); the whole failure goes in the tool tip.
QString RecoveryFailureText(const QString& failure);

class CRecoveryWriter : public QObject {
    Q_OBJECT
public:
    // Follows the frame's document from now on, keeping the copy in the store.
    CRecoveryWriter(CMainFrame& frame, CPolydromDoc& doc, CRecoveryStore store);
    // The end of a clean exit: the copy is removed, whatever state the model is in.
    ~CRecoveryWriter() override;

    // Looks at the model: with unsaved changes a copy is due within kRecoveryDelayMs;
    // without (saved, new, opened, undone to the save) the copy is removed.
    void Follow();
    // Takes the snapshot at once and hands it to the worker.
    void WriteNow();
    // Waits until the worker has finished what it was given.
    void WaitUntilIdle();

    // The copy's files once the worker wrote them (empty before), for tests and reports.
    QString ModelPath() const;
    // The last write's failure, shown once in the status bar until a write succeeds.
    QString Failure() const { return m_failure; }

private:
    struct Job {
        bool remove = false;
        ModelSnapshot snapshot;
        std::string original;
        std::int64_t time = 0;
    };
    static Job Removal();
    void Post(Job job);
    void Work();
    Result Carry(const Job& job);
    // Back on the user-interface thread after a write.
    void Written(const Result& result);

    CMainFrame& m_frame;
    CPolydromDoc& m_doc;
    QTimer m_timer;
    // A copy may be on disk (or on its way there): what a removal has to take back.
    bool m_copyDue = false;
    QString m_failure;

    // Shared with the worker, under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake, m_idle;
    std::optional<Job> m_pending;  // a newer snapshot replaces one not yet written
    bool m_busy = false;
    bool m_stop = false;
    std::string m_modelPath;

    // The worker's own.
    CRecoveryStore m_store;
    std::vector<unsigned char> m_written;  // the bytes on disk, to skip writing them again
    std::string m_writtenOriginal;

    std::thread m_worker;  // last: it starts when everything above exists
};
