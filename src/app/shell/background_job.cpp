// The worker thread and the wait behind the progress prompt.
#include "app/shell/background_job.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "app/shell/prompts.h"

namespace {

// What the worker and the waiting window share; the last of the two to let go frees it.
struct Job {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

// How often the prompt is updated (and the window's events handled) while waiting.
constexpr auto kPoll = std::chrono::milliseconds(30);

// Read and written on the user-interface thread alone; nested changes count.
int g_changesRunning = 0;

}  // namespace

bool RunWithProgress(CShellPrompts& prompts, QWidget* parent, const QString& text, bool cancellable,
                     std::function<void()> work)
{
    auto job = std::make_shared<Job>();
    try {
        std::thread([job, work] {
            work();
            const std::lock_guard lock(job->mutex);
            job->done = true;
            job->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        work();  // no thread to be had: the work runs here, without its progress window
        return true;
    }

    const std::unique_ptr<CProgressPrompt> progress = prompts.StartProgress(parent, text, cancellable);
    std::unique_lock lock(job->mutex);
    while (!job->ended.wait_for(lock, kPoll, [&] { return job->done; })) {
        lock.unlock();
        const bool goOn = progress->Update(-1.0f);
        lock.lock();
        if (!goOn && cancellable && !job->done) return false;
    }
    return true;
}

void ChangeModelWithProgress(CShellPrompts& prompts, QWidget* parent, const QString& text,
                             std::function<void()> work)
{
    struct Running {
        Running() { ++g_changesRunning; }
        ~Running() { --g_changesRunning; }
    } running;
    // What the work throws (memory running out) is thrown here, as if it had run on this thread.
    std::exception_ptr failed;
    RunWithProgress(prompts, parent, text, false, [&failed, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    if (failed) std::rethrow_exception(failed);
}

bool ModelBeingChanged() { return g_changesRunning > 0; }
