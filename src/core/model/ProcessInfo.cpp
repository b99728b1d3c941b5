#include "core/model/ProcessInfo.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>

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

ProcessFacts ReadProcessFacts(int pid) {
    ProcessFacts facts;
    if (pid <= 0) {
        return facts;
    }
    facts.exists = ProcessAlive(pid);
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // "pid (name) state ppid ...": the name may hold spaces and parentheses itself, so it
    // runs to the last ')'.
    const std::size_t open = stat.find('(');
    const std::size_t close = stat.rfind(')');
    if (!facts.exists || open == std::string::npos || close == std::string::npos || close < open) {
        return facts;
    }
    facts.name = stat.substr(open + 1, close - open - 1);
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    fields >> state;
    facts.zombie = state == "Z" || state == "X";
    // The start time is the 22nd field of the line: 18 more fields follow the state.
    std::string field;
    for (int index = 0; index < 18 && fields >> field; ++index) {
    }
    fields >> facts.startTime;
    if (!fields) {
        facts.startTime = 0;
    }
    return facts;
}
