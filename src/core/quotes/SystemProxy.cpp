#include "core/quotes/SystemProxy.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The name part of "name:port", "[v6]:port" or a bare name.
std::string_view HostName(std::string_view host) {
    if (host.starts_with('[')) {
        const std::size_t close = host.find(']');
        return close == std::string_view::npos ? host.substr(1) : host.substr(1, close - 1);
    }
    return host.substr(0, host.find(':'));
}

const char* FirstSet(const EnvironmentReader& environment, const char* first, const char* second) {
    const char* value = environment(first);
    if (value != nullptr && *value != '\0') {
        return value;
    }
    value = second == nullptr ? nullptr : environment(second);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

bool Bypassed(std::string_view name, std::string_view list) {
    const std::string host = Lower(name);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(", ", start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        std::string entry = Lower(list.substr(start, end - start));
        start = end + 1;
        if (entry.empty()) {
            continue;
        }
        if (entry == "*") {
            return true;
        }
        if (entry.front() == '.') {
            entry.erase(0, 1);
        }
        if (host == entry || (host.size() > entry.size() && host.ends_with(entry) &&
                              host[host.size() - entry.size() - 1] == '.')) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string SystemProxyFor(std::string_view host, const EnvironmentReader& environment) {
    const char* noProxy = FirstSet(environment, "no_proxy", "NO_PROXY");
    if (noProxy != nullptr && Bypassed(HostName(host), noProxy)) {
        return {};
    }
    // Upper-case HTTP_PROXY is not taken: a web server's CGI environment sets it from a
    // request header.
    const char* proxy = FirstSet(environment, "http_proxy", nullptr);
    if (proxy == nullptr) {
        proxy = FirstSet(environment, "all_proxy", "ALL_PROXY");
    }
    return proxy == nullptr ? std::string() : std::string(proxy);
}

std::string SystemProxyFor(std::string_view host) {
    return SystemProxyFor(host, [](const char* name) { return std::getenv(name); });
}
