#include "framework/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

struct ShellRun {
    ChildEnd end;
    std::string output;
};

ShellRun Shell(const std::string& script, std::chrono::milliseconds limit = 10s, std::function<bool()> keepGoing = {})
{
    ShellRun run;
    ChildWatch watch;
    watch.timeLimit = limit;
    watch.keepGoing = std::move(keepGoing);
    watch.output = [&run](std::string_view bytes) {
        run.output += bytes;
        return true;
    };
    run.end = RunProgram(ChildCommand{"sh", {"-c", script}, {}}, watch);
    return run;
}

// Gone, or a zombie nobody collects (a container's first process may not): not running.
bool Ended(pid_t pid)
{
    for (int k = 0; k < 500; ++k) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string field;
        for (int f = 0; f < 3 && stat >> field; ++f) {
        }
        if (!stat || field == "Z" || field == "X") return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

}  // namespace

TEST(ChildProcess, TellsHowItEndedWithItsOutput)
{
    const ShellRun exited = Shell("echo out; echo err >&2; exit 3");
    EXPECT_EQ(exited.end.how, ChildEnd::How::Exited);
    EXPECT_EQ(exited.end.Describe(), "exited with status 3");
    EXPECT_EQ(exited.output, "out\nerr\n");

    const ShellRun killed = Shell("kill -9 $$");
    EXPECT_EQ(killed.end.how, ChildEnd::How::Signalled);
    EXPECT_EQ(killed.end.Describe(), "killed by signal 9 (Killed)");

    const ChildEnd missing = RunProgram(ChildCommand{"/nonexistent/povray", {}, {}}, {});
    EXPECT_EQ(missing.Describe(), "could not be started: No such file or directory");
    EXPECT_EQ(RunProgram(ChildCommand{"no-such-program-anywhere", {}, {}}, {}).how, ChildEnd::How::NotStarted);
}

TEST(ChildProcess, RunsInItsFolderWithNothingToRead)
{
    ChildWatch watch;
    std::string output;
    watch.output = [&output](std::string_view bytes) {
        output += bytes;
        return true;
    };
    EXPECT_TRUE(RunProgram(ChildCommand{"sh", {"-c", "pwd; cat"}, "/usr"}, watch).Succeeded());
    EXPECT_EQ(output, "/usr\n");
}

TEST(ChildProcess, TimeLimitEndsTheChildAndWhatItStarted)
{
    const auto start = std::chrono::steady_clock::now();
    const ShellRun run = Shell("sleep 30 & echo $!; wait", 300ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(run.end.how, ChildEnd::How::TimedOut);
    EXPECT_EQ(run.end.Describe(), "stopped after 0.3 seconds");
    ASSERT_FALSE(run.output.empty());
    EXPECT_TRUE(Ended(std::stoi(run.output))) << "the grandchild goes too";
}

TEST(ChildProcess, CancelledByTheCallerOrByItsOutput)
{
    int asked = 0;
    const ShellRun cancelled = Shell("exec sleep 30", 0ms, [&asked] { return ++asked < 3; });
    EXPECT_EQ(cancelled.end.how, ChildEnd::How::Cancelled);

    ChildWatch watch;
    watch.output = [](std::string_view) { return false; };
    EXPECT_EQ(RunProgram(ChildCommand{"sh", {"-c", "echo enough; exec sleep 30"}, {}}, watch).how,
              ChildEnd::How::Cancelled);
}

TEST(ChildProcess, FunctionWritesToThePipeAndEnds)
{
    std::string output;
    ChildWatch watch;
    watch.output = [&output](std::string_view bytes) {
        output += bytes;
        return true;
    };
    const ChildEnd end = RunFunction([](int fd) { (void)!::write(fd, "hello", 5); }, watch);
    EXPECT_TRUE(end.Succeeded()) << end.Describe();
    EXPECT_EQ(output, "hello");
    EXPECT_EQ(RunFunction([](int) { throw 1; }, {}).code, 70);
}

// A killed program takes its helper with it: a stand-in program runs a helper that would
// wait for ever, and is killed.
TEST(ChildProcess, HelperDiesWithItsKilledParent)
{
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        ::close(report[0]);
        ChildWatch watch;
        watch.output = [&](std::string_view bytes) {
            (void)!::write(report[1], bytes.data(), bytes.size());
            return true;
        };
        RunFunction(
            [](int fd) {
                const pid_t self = ::getpid();
                (void)!::write(fd, &self, sizeof self);
                for (;;) ::pause();
            },
            watch);
        ::_exit(0);
    }
    ::close(report[1]);
    pid_t helper = 0;
    ASSERT_EQ(::read(report[0], &helper, sizeof helper), ssize_t(sizeof helper));
    ::close(report[0]);
    ASSERT_EQ(::kill(helper, 0), 0) << "the helper runs";
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    EXPECT_TRUE(Ended(helper));
}
