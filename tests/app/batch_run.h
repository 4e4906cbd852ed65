// Running batch mode from a test: in-process with captured output, or the real
// program through the shell.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "test_files.h"

struct BatchOutcome {
    int status;
    std::string out, err;
};

inline BatchOutcome RunBatchSteps(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = RunBatch(args, out, err);
    return {status, out.str(), err.str()};
}

// Runs a shell command line and returns its exit status and what it printed (both streams).
inline BatchOutcome RunShell(const std::string& command)
{
    BatchOutcome result{-1, "", ""};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Quotes a path for the shell.
inline std::string Quoted(const std::string& text)
{
    std::string q = "'";
    for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}
