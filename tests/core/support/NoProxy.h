#pragma once

#include <cstdlib>

// A proxy set in the environment must not take the tests' loopback requests elsewhere.
inline void ClearProxyEnvironment() {
    for (const char* name :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
}
