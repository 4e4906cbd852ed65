// The one way this program runs another process: an outside program (POV-Ray) or a
// function in a forked copy of itself (the import helper). Every child gets a time
// limit, can be cancelled, dies with the program, and its end is told with its reason.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// How a child ended.
struct ChildEnd {
    enum class How {
        Exited,      // code is its exit status
        Signalled,   // code is the signal that ended it
        TimedOut,    // it ran past the time limit and was killed
        Cancelled,   // the caller said stop, and it was killed
        NotStarted,  // code is the errno of the failed start
    };
    How how = How::NotStarted;
    int code = 0;
    std::chrono::milliseconds limit{0};  // the time limit it had

    bool Succeeded() const { return how == How::Exited && code == 0; }
    // "exited with status 3", "killed by signal 9 (Killed)", "stopped after 120 seconds",
    // "cancelled", "could not be started: No such file or directory".
    std::string Describe() const;
};

// "120 seconds", "1 second", "0.3 seconds".
std::string DescribeSeconds(std::chrono::milliseconds time);

// An outside program: looked up on PATH unless it names a folder, its standard input
// empty, its output and errors together into the watcher's output callback.
struct ChildCommand {
    std::string program;
    std::vector<std::string> args;
    std::string folder;  // its working folder; empty for this program's
};

// A function run in a forked copy of this program, handed the write end of the pipe
// the watcher reads. It must not return into the copy's caller: when it returns, the
// copy ends with _exit (status 0; 70 after an escaped exception).
using ChildFunction = std::function<void(int outputFd)>;

// What the parent does while the child runs. The call blocks until the child has ended
// and been collected; no child outlives it.
struct ChildWatch {
    std::chrono::milliseconds timeLimit{0};  // zero: none
    // Asked at least every tick; false cancels.
    std::function<bool()> keepGoing;
    // The child's output as it arrives; false cancels.
    std::function<bool(std::string_view bytes)> output;
    std::chrono::milliseconds tick{50};
};

ChildEnd RunProgram(const ChildCommand& command, const ChildWatch& watch);
ChildEnd RunFunction(const ChildFunction& function, const ChildWatch& watch);
