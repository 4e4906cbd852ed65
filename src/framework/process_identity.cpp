// Process identity from /proc on Linux, with a plain signal-0 probe where /proc is missing.
#include "framework/process_identity.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

bool ReadLine(const std::string& path, std::string* line)
{
    std::ifstream in(path);
    return in && std::getline(in, *line);
}

std::string BootId()
{
    std::string id;
    if (!ReadLine("/proc/sys/kernel/random/boot_id", &id)) return {};
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

// The state letter and the start time from /proc/PID/stat. The program's name comes
// second in parentheses and may itself hold spaces and ")", so the fields are counted
// from the last ")".
bool ReadStat(long pid, char* state, std::string* started)
{
    std::string line;
    if (!ReadLine("/proc/" + std::to_string(pid) + "/stat", &line)) return false;
    const auto close = line.rfind(')');
    if (close == std::string::npos) return false;
    std::istringstream fields(line.substr(close + 1));
    std::vector<std::string> values;
    for (std::string value; fields >> value;) values.push_back(value);
    // Field 3 is the state, field 22 the start time.
    constexpr std::size_t kStateField = 3, kStartField = 22;
    if (values.size() < kStartField - kStateField + 1) return false;
    *state = values[0].empty() ? '?' : values[0][0];
    *started = values[kStartField - kStateField];
    return true;
}

bool HaveProc()
{
    std::string line;
    return ReadLine("/proc/self/stat", &line);
}

}  // namespace

ProcessIdentity IdentifyProcess(long pid)
{
    ProcessIdentity identity;
    identity.pid = pid;
    identity.boot = BootId();
    char state = '?';
    if (!ReadStat(pid, &state, &identity.started)) identity.started.clear();
    return identity;
}

ProcessIdentity CurrentProcess() { return IdentifyProcess(static_cast<long>(::getpid())); }

bool IsRunning(const ProcessIdentity& process)
{
    if (process.pid <= 0) return false;
    const std::string boot = BootId();
    // Nothing from an earlier boot runs any more.
    if (!process.boot.empty() && !boot.empty() && process.boot != boot) return false;
    char state = '?';
    std::string started;
    if (ReadStat(process.pid, &state, &started)) {
        // A zombie has ended; it only waits for its parent to notice.
        if (state == 'Z' || state == 'X') return false;
        return process.started.empty() || process.started == started;
    }
    if (HaveProc()) return false;
    // Without /proc: the id is taken by some process, which is the best that can be known.
    return ::kill(static_cast<pid_t>(process.pid), 0) == 0 || errno == EPERM;
}
