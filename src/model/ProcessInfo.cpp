#include "model/ProcessInfo.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>

int CurrentPid() {
    return static_cast<int>(getpid());
}

std::string HostName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) {
        return "unknown";
    }
    return name.data();
}

bool ProcessAlive(int pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}
