// Starting, watching and ending child processes.
//
// A child is put in a process group of its own, so that ending it also ends whatever it
// started (a shell script's programs), and asks the kernel for SIGKILL when the thread
// that forked it goes away: a killed program leaves no helper behind, re-parented and
// still reading. The watching thread lives until the child is collected, so that signal
// only ever comes when the program itself is gone.
#include "framework/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// In the child, before anything else: die with the parent, and make sure the parent
// did not die already before that was asked (the signal would then never come).
void FollowParent(pid_t parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(125);
    ::setpgid(0, 0);
    // A thread of the parent may block signals, and the parent may ignore SIGPIPE; the
    // child starts from the defaults.
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
}

// The program's full path, found as a shell would, before forking (no allocation after).
std::string FindProgram(const std::string& program)
{
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const auto colon = rest.find(':');
        std::string folder(rest.substr(0, colon));
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}

class Pipe {
public:
    bool Open() { return ::pipe2(m_ends, O_CLOEXEC) == 0; }
    ~Pipe()
    {
        CloseRead();
        CloseWrite();
    }
    int Read() const { return m_ends[0]; }
    int Write() const { return m_ends[1]; }
    void CloseRead() { Close(m_ends[0]); }
    void CloseWrite() { Close(m_ends[1]); }

private:
    static void Close(int& fd)
    {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int m_ends[2] = {-1, -1};
};

ChildEnd NotStarted(int error)
{
    ChildEnd end;
    end.how = ChildEnd::How::NotStarted;
    end.code = error;
    return end;
}

// Ends the child and everything in its group, and collects it.
void Kill(pid_t pid)
{
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

ChildEnd Ended(int status)
{
    ChildEnd end;
    if (WIFSIGNALED(status)) {
        end.how = ChildEnd::How::Signalled;
        end.code = WTERMSIG(status);
    } else {
        end.how = ChildEnd::How::Exited;
        end.code = WEXITSTATUS(status);
    }
    return end;
}

// Reads what the child writes until it ends, the clock runs out or the caller stops it.
ChildEnd Watch(pid_t pid, int output, const ChildWatch& watch)
{
    const bool limited = watch.timeLimit.count() > 0;
    const Clock::time_point deadline = limited ? Clock::now() + watch.timeLimit : Clock::time_point::max();
    // A descriptor that becomes readable when the child ends; without one (an old kernel)
    // the loop looks now and then.
    const int exitFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    ::fcntl(output, F_SETFL, ::fcntl(output, F_GETFL) | O_NONBLOCK);
    auto stop = [&](ChildEnd::How how) {
        Kill(pid);
        if (exitFd >= 0) ::close(exitFd);
        ChildEnd end;
        end.how = how;
        end.limit = watch.timeLimit;
        return end;
    };
    // Takes in what the pipe holds now; false when the caller wants no more.
    bool open = true;
    auto drain = [&]() {
        char buffer[1 << 16];
        while (open) {
            const ssize_t n = ::read(output, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) return true;
            if (n <= 0) {
                open = false;  // every writer has gone
                return true;
            }
            if (watch.output && !watch.output(std::string_view(buffer, static_cast<std::size_t>(n)))) return false;
        }
        return true;
    };
    std::chrono::milliseconds nap{1};
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return stop(ChildEnd::How::TimedOut);
        if (watch.keepGoing && !watch.keepGoing()) return stop(ChildEnd::How::Cancelled);

        // Looked at without collecting it: while it is a zombie its group cannot be
        // reused, so what it started can still be ended by that number.
        siginfo_t info{};
        const int looked = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        if (looked == 0 && info.si_pid == pid) {
            // Its last words are in the pipe already; a grandchild that keeps the pipe
            // open (or goes on writing) does not hold the end up.
            ::kill(-pid, SIGKILL);
            const bool wanted = drain();
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            if (exitFd >= 0) ::close(exitFd);
            ChildEnd end = wanted ? Ended(status) : ChildEnd{ChildEnd::How::Cancelled, 0, {}};
            end.limit = watch.timeLimit;
            return end;
        }
        if (looked < 0 && errno == ECHILD) {
            // Collected elsewhere (SIGCHLD ignored by someone): its status is lost.
            if (exitFd >= 0) ::close(exitFd);
            return ChildEnd{ChildEnd::How::Exited, -1, watch.timeLimit};
        }

        auto wait = std::min<Clock::duration>(watch.tick, deadline - now);
        if (exitFd < 0 && !open) {
            // Nothing to wait on but the clock: short naps, growing to the tick.
            wait = std::min<Clock::duration>(wait, nap);
            nap = std::min(nap * 2, watch.tick);
        }
        pollfd ready[2] = {{open ? output : -1, POLLIN, 0}, {exitFd, POLLIN, 0}};
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        const int polled = ::poll(ready, 2, static_cast<int>(std::max<long long>(ms, 0)));
        if (polled > 0 && open && (ready[0].revents & (POLLIN | POLLHUP | POLLERR)) && !drain())
            return stop(ChildEnd::How::Cancelled);
    }
}

}  // namespace

std::string DescribeSeconds(std::chrono::milliseconds time)
{
    const auto ms = time.count();
    if (ms == 1000) return "1 second";
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " seconds";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f seconds", double(ms) / 1000.0);
    return text;
}

std::string ChildEnd::Describe() const
{
    switch (how) {
    case How::Exited: return "exited with status " + std::to_string(code);
    case How::Signalled: {
        const char* name = ::strsignal(code);
        return "killed by signal " + std::to_string(code) + (name ? std::string(" (") + name + ")" : "");
    }
    case How::TimedOut: return "stopped after " + DescribeSeconds(limit);
    case How::Cancelled: return "cancelled";
    case How::NotStarted: return std::string("could not be started: ") + std::strerror(code);
    }
    return {};
}

ChildEnd RunProgram(const ChildCommand& command, const ChildWatch& watch)
{
    const std::string path = FindProgram(command.program);
    if (path.empty()) return NotStarted(ENOENT);
    // Everything the child needs is made here: between fork and exec only system calls.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(command.program.c_str()));
    for (const std::string& arg : command.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    Pipe output, failure;
    if (!output.Open() || !failure.Open()) return NotStarted(errno);
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null < 0) return NotStarted(errno);

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        ::close(null);
        return NotStarted(error);
    }
    if (pid == 0) {
        FollowParent(parent);
        int error = 0;
        if (::dup2(null, STDIN_FILENO) < 0 || ::dup2(output.Write(), STDOUT_FILENO) < 0 ||
            ::dup2(output.Write(), STDERR_FILENO) < 0 ||
            (!command.folder.empty() && ::chdir(command.folder.c_str()) != 0)) {
            error = errno;
        } else {
            // Nothing else of the parent's (other children's pipes, the model's files).
            ::close_range(STDERR_FILENO + 1, ~0u, CLOSE_RANGE_CLOEXEC);
            ::execve(path.c_str(), argv.data(), environ);
            error = errno;
        }
        [[maybe_unused]] const ssize_t told = ::write(failure.Write(), &error, sizeof error);
        ::_exit(127);
    }
    ::close(null);
    output.CloseWrite();
    failure.CloseWrite();
    // The exec closes this pipe; a failure before it writes the reason.
    int error = 0;
    ssize_t n;
    while ((n = ::read(failure.Read(), &error, sizeof error)) < 0 && errno == EINTR) {
    }
    if (n == sizeof error) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        return NotStarted(error);
    }
    return Watch(pid, output.Read(), watch);
}

ChildEnd RunFunction(const ChildFunction& function, const ChildWatch& watch)
{
    Pipe output;
    if (!output.Open()) return NotStarted(errno);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) return NotStarted(errno);
    if (pid == 0) {
        // The copy leaves by _exit, so that nothing of the parent (buffered output,
        // atexit work, windows) runs twice.
        FollowParent(parent);
        output.CloseRead();
        try {
            function(output.Write());
        } catch (...) {
            ::_exit(70);
        }
        ::_exit(0);
    }
    output.CloseWrite();
    return Watch(pid, output.Read(), watch);
}
