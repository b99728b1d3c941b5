#include "core/quotes/SystemProxy.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/CaseName.h"

namespace {

struct ProxyCase {
    const char* name;
    std::map<std::string, std::string> environment;
    std::string host;
    std::string expected;
};

class SystemProxyTest : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(SystemProxyTest, ChoosesLikeLibcurl) {
    const ProxyCase& c = GetParam();
    const auto read = [&](const char* name) -> const char* {
        const auto found = c.environment.find(name);
        return found == c.environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(SystemProxyFor(c.host, read), c.expected);
}

const std::string kProxy = "http://proxy.lan:3128";

INSTANTIATE_TEST_SUITE_P(
    Cases, SystemProxyTest,
    ::testing::Values(
        ProxyCase{"NoneSet", {}, "quote.yahoo.com", ""},
        ProxyCase{"HttpProxy", {{"http_proxy", kProxy}}, "quote.yahoo.com", kProxy},
        ProxyCase{"UpperCaseHttpProxyIgnored", {{"HTTP_PROXY", kProxy}}, "quote.yahoo.com", ""},
        ProxyCase{"AllProxy", {{"ALL_PROXY", kProxy}}, "quote.yahoo.com", kProxy},
        ProxyCase{"EmptyIsUnset", {{"http_proxy", ""}, {"all_proxy", kProxy}}, "a.com", kProxy},
        ProxyCase{"NoProxyExactHost",
                  {{"http_proxy", kProxy}, {"no_proxy", "localhost,quote.yahoo.com"}},
                  "quote.yahoo.com:8080",
                  ""},
        ProxyCase{"NoProxyDomain",
                  {{"http_proxy", kProxy}, {"NO_PROXY", ".yahoo.com"}},
                  "Quote.Yahoo.com",
                  ""},
        ProxyCase{"NoProxyIsNotASuffixMatch",
                  {{"http_proxy", kProxy}, {"no_proxy", "hoo.com"}},
                  "quote.yahoo.com",
                  kProxy},
        ProxyCase{"NoProxyStar", {{"http_proxy", kProxy}, {"no_proxy", "*"}}, "a.com", ""},
        ProxyCase{"NoProxyLoopback",
                  {{"http_proxy", kProxy}, {"no_proxy", "127.0.0.1, ::1"}},
                  "127.0.0.1:8080",
                  ""},
        ProxyCase{
            "NoProxyBracketedV6", {{"http_proxy", kProxy}, {"no_proxy", "::1"}}, "[::1]:8080", ""}),
    CaseName());

}  // namespace
