#pragma once

#include <string>

// Who this process is, and whether another one still runs: what the portfolio lock and
// the recovery copies are marked with.
int CurrentPid();
std::string HostName();
// True while a process of that id runs on this host (also one we may not signal).
bool ProcessAlive(int pid);
