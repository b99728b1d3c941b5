#pragma once

#include <cstdint>
#include <string>

// Who this process is, and whether another one still runs: what the portfolio lock and
// the recovery copies are marked with.
int CurrentPid();
std::string HostName();
// True while a process of that id runs on this host (also one we may not signal).
bool ProcessAlive(int pid);

// What this host's process table says of a process id. A process id is reused once its
// process has ended, so the start time and the name tell a process from a later one of
// the same number.
struct ProcessFacts {
    bool exists = false;
    bool zombie = false;          // ended, but not yet collected by its parent
    std::uint64_t startTime = 0;  // clock ticks after boot; 0 when unknown
    std::string name;             // the program's short name; empty when unknown
};
ProcessFacts ReadProcessFacts(int pid);
