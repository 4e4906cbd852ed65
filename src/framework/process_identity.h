// Which program keeps a file: a process id, made exact by the boot and the process's start time.
#pragma once

#include <string>

// A process id alone is not enough to tell whether its program still runs: after a
// crash and a restart (or just a long day) the same number can belong to another
// process. The kernel's boot id and the process's start time pin it down.
struct ProcessIdentity {
    long pid = 0;
    std::string boot;     // the kernel's id of the boot it ran in; empty when unknown
    std::string started;  // its start, in clock ticks since that boot; empty when unknown

    bool operator==(const ProcessIdentity&) const = default;
};

// This program.
ProcessIdentity CurrentProcess();
// A running process, as CurrentProcess would describe it from inside; pid only when
// the system does not tell more.
ProcessIdentity IdentifyProcess(long pid);
// True while the process described is alive: same boot, same start time, not a zombie.
bool IsRunning(const ProcessIdentity& process);
