#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "core/quotes/Web.h"
#include "support/LoopbackHttpServer.h"
#include "support/NoProxy.h"
#include "support/RecordingFetchNotifier.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class WebProgressTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ClearProxyEnvironment(); }

    RecordingFetchNotifier notifier;
    CWeb web{notifier};
};

TEST_F(WebProgressTest, AGivenUpFetchSendsNothingAndSaysNothing) {
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("page"); });
    web.SetProgressCallback([] { return false; });

    EXPECT_EQ(web.Fetch(server.Host(), "/a"), nullptr);
    EXPECT_EQ(web.GetPage(server.Host(), "/a"), "");
    EXPECT_TRUE(server.Targets().empty());
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(WebProgressTest, APageIsFetchedWhileTheCallerKeepsGoing) {
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("page"); });
    int calls = 0;
    web.SetProgressCallback([&calls] {
        ++calls;
        return true;
    });

    EXPECT_EQ(web.GetPage(server.Host(), "/a"), "page");
    EXPECT_GT(calls, 0);
    EXPECT_TRUE(notifier.messages.empty());
}

// A server that never answers, or stops half-way through the body: giving up ends the
// fetch within about a second (libcurl reports progress at least that often), with no
// further attempt and no warning.
class WebAbandonTest : public WebProgressTest,
                       public ::testing::WithParamInterface<CannedReply::Kind> {};

TEST_P(WebAbandonTest, GivingUpEndsASilentTransferPromptly) {
    CannedReply reply;
    reply.kind = GetParam();
    reply.body = "partial";
    LoopbackHttpServer server([&reply](const std::string&) { return reply; });
    std::atomic<bool> keepGoing{true};
    web.SetProgressCallback([&keepGoing] { return keepGoing.load(); });
    Clock::time_point askedToStop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(300ms);
        askedToStop = Clock::now();
        keepGoing = false;
    });

    const std::string page = web.GetPage(server.Host(), "/slow");
    const auto ended = Clock::now();
    stopper.join();

    EXPECT_EQ(page, "");
    EXPECT_LT(ended - askedToStop, 1200ms);
    EXPECT_EQ(server.Targets().size(), 1u);
    EXPECT_TRUE(notifier.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SilentServers, WebAbandonTest,
    ::testing::Values(CannedReply::Kind::kStall, CannedReply::Kind::kStallInBody),
    [](const ::testing::TestParamInfo<CannedReply::Kind>& kind) {
        return std::string(kind.param == CannedReply::Kind::kStall ? "NoAnswer" : "BodyStalled");
    });

}  // namespace
