#pragma once

#include <functional>
#include <string>
#include <string_view>

// Reads one environment variable; null when it is not set.
using EnvironmentReader = std::function<const char*(const char*)>;

// The proxy the system's settings name for a plain HTTP request to `host` (which may carry
// ":port"), or the empty text for a direct connection. The variables are those libcurl
// reads: "http_proxy" (lower case only), then "all_proxy" or "ALL_PROXY"; "no_proxy" or
// "NO_PROXY" lists hosts and domains that go direct, or is "*" for all.
std::string SystemProxyFor(std::string_view host, const EnvironmentReader& environment);

// The same, from the process environment.
std::string SystemProxyFor(std::string_view host);
