#pragma once

#include <sys/wait.h>
#include <unistd.h>

// A process id that surely belongs to no running process: a child that has exited.
inline int DeadPid() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return static_cast<int>(child);
}
