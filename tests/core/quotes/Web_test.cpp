#include "core/quotes/Web.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "core/quotes/QuoteHosts.h"
#include "support/CaseName.h"
#include "support/LoopbackHttpServer.h"
#include "support/NoProxy.h"
#include "support/RecordingFetchNotifier.h"

namespace {

using namespace std::chrono_literals;

// Short enough that the failing cases stay quick, long enough for a loaded machine.
FetchLimits TestLimits() {
    FetchLimits limits;
    limits.connectTimeout = 2s;
    limits.transferTimeout = 700ms;
    limits.maxBodyBytes = 256 * 1024;
    return limits;
}

FetchMessage Warning(const std::string& text) {
    return {text, "Velmora", true};
}

const FetchMessage kHttpError{"Error Occurs on HTTP!", "Velmora", false};

class WebTest : public ::testing::Test {
protected:
    // A proxy set in the environment must not take the loopback requests elsewhere.
    static void SetUpTestSuite() { ClearProxyEnvironment(); }

    RecordingFetchNotifier notifier;
    CWeb web{notifier, TestLimits()};
};

struct PageCase {
    const char* name;
    std::string body;
    int status;
    std::string expected;
};

class WebPageTest : public WebTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(WebPageTest, ReturnsThePageWithoutMessages) {
    const PageCase& c = GetParam();
    LoopbackHttpServer server(
        [&](const std::string&) { return CannedReply::Page(c.body, c.status); });

    // Compared as a whole, reported by size: a failing 200 KiB page would flood the log.
    const std::string page = web.GetPage(server.Host(), "/page");
    EXPECT_TRUE(page == c.expected) << page.size() << " bytes, expected " << c.expected.size();
    EXPECT_TRUE(web.Text() == c.expected);
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_EQ(server.Targets().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WebPageTest,
    ::testing::Values(
        PageCase{"Plain", "<html>quote</html>", 200, "<html>quote</html>"},
        PageCase{"EmptyBody", "", 200, ""},
        PageCase{"Exactly4096Bytes", std::string(4096, 'q'), 200, std::string(4096, 'q')},
        PageCase{"CutAtNul", std::string("before\0after", 12), 200, "before"},

        PageCase{"ManyChunks", std::string(200 * 1024, 'z'), 200, std::string(200 * 1024, 'z')}),
    CaseName());

TEST_F(WebTest, EmptyBodyIsASuccessfulFetch) {
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page(""); });

    const std::vector<char>* page = web.Fetch(server.Host(), "/empty");

    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->empty());
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(WebTest, SendsTheTargetExactlyAsBuiltWithTheProgramAsAgent) {
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("ok"); });

    web.GetPage(server.Host(), "quote.dll?mode=stock&page=quick&symbol=AB&symbol=");

    ASSERT_EQ(server.Heads().size(), 1u);
    const std::string head = server.Heads()[0];
    EXPECT_EQ(head.substr(0, head.find("\r\n")),
              "GET quote.dll?mode=stock&page=quick&symbol=AB&symbol= HTTP/1.1");
    EXPECT_NE(head.find("\r\nUser-Agent: Velmora\r\n"), std::string::npos) << head;
}

TEST_F(WebTest, ChunkCallbackRunsWhileTheBodyArrives) {
    LoopbackHttpServer server(
        [](const std::string&) { return CannedReply::Page(std::string(200 * 1024, 'c')); });
    int chunks = 0;
    web.SetChunkCallback([&] { ++chunks; });

    web.GetPage(server.Host(), "/big");

    EXPECT_GE(chunks, 2);
}

// An error status is a failed attempt, not a page to read prices from: its page may echo
// the request, symbols and all.
class WebStatusTest : public WebTest, public ::testing::WithParamInterface<int> {};

TEST_P(WebStatusTest, ErrorStatusIsAFailedAttemptWithItsReason) {
    const int status = GetParam();
    LoopbackHttpServer server([status](const std::string& request) {
        return CannedReply::Page("<b>" + request + "</b>", status);
    });
    EXPECT_EQ(web.GetPage(server.Host(), "/d?s=AB&f=1lc"), "");
    EXPECT_EQ(server.Targets().size(), 3u);
    EXPECT_EQ(notifier.messages, (std::vector<FetchMessage>{kHttpError}));
    EXPECT_EQ(web.LastFailure(),
              server.Host() + " answered with HTTP status " + std::to_string(status));

    LoopbackHttpServer good([](const std::string&) { return CannedReply::Page("AB <b>1</b>"); });
    EXPECT_EQ(web.GetPage(good.Host(), "/d?s=AB&f=1lc"), "AB <b>1</b>");
    EXPECT_EQ(web.LastFailure(), "");
}

INSTANTIATE_TEST_SUITE_P(Statuses, WebStatusTest, ::testing::Values(400, 404, 500, 503));

// A page that came on a later attempt carries no reason, even an empty page, which the
// update would otherwise list with the earlier attempt's failure.
TEST_F(WebTest, APageOnALaterAttemptLeavesNoReason) {
    int requests = 0;
    LoopbackHttpServer server([&requests](const std::string&) {
        return CannedReply::Page("", requests++ == 0 ? 503 : 200);
    });

    EXPECT_EQ(web.GetPage(server.Host(), "/d?s=AB&f=1lc"), "");

    EXPECT_EQ(server.Targets().size(), 2u);
    EXPECT_EQ(web.LastFailure(), "");
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(WebTest, ClosedPortWarnsThreeTimesThenGivesUp) {
    const std::string host = "127.0.0.1:" + std::to_string(LoopbackHttpServer::ClosedPort());
    const FetchMessage warning =
        Warning("Can't connect to " + host + " server, please try again later!");

    EXPECT_EQ(web.GetPage(host, "/d?s=AB&f=1lc"), "");

    EXPECT_EQ(notifier.messages,
              (std::vector<FetchMessage>{warning, warning, warning, kHttpError}));
    EXPECT_EQ(web.Fetch(host, "/again"), nullptr);
}

TEST_F(WebTest, ServerThatNeverAnswersTimesOutThreeTimes) {
    LoopbackHttpServer server([](const std::string&) {
        CannedReply reply;
        reply.kind = CannedReply::Kind::kStall;
        return reply;
    });
    const FetchMessage warning =
        Warning("Can't send request to " + server.Host() + " server, please try again later!");
    const auto start = std::chrono::steady_clock::now();

    EXPECT_EQ(web.GetPage(server.Host(), "/stall"), "");

    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(notifier.messages,
              (std::vector<FetchMessage>{warning, warning, warning, kHttpError}));
    EXPECT_EQ(server.Targets().size(), 3u);
}

// Once the response has begun, a broken transfer is an empty page: no message, no retry.
TEST_F(WebTest, TransferBrokenInTheBodyGivesAnEmptyPageSilently) {
    for (const CannedReply::Kind kind :
         {CannedReply::Kind::kBreakInBody, CannedReply::Kind::kStallInBody}) {
        RecordingFetchNotifier quiet;
        CWeb fetcher(quiet, TestLimits());
        LoopbackHttpServer server([kind](const std::string&) {
            CannedReply reply;
            reply.kind = kind;
            reply.body = "<b>12.5</b> and then nothing";
            return reply;
        });

        const std::vector<char>* page = fetcher.Fetch(server.Host(), "/broken");

        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->empty());
        EXPECT_TRUE(quiet.messages.empty());
        EXPECT_EQ(server.Targets().size(), 1u);
    }
}

// A body past the cap fails the attempt whether or not its length was announced.
TEST_F(WebTest, BodyOverTheCapFailsEveryAttempt) {
    for (const bool announced : {true, false}) {
        RecordingFetchNotifier capped;
        CWeb fetcher(capped, TestLimits());
        LoopbackHttpServer server([announced](const std::string&) {
            CannedReply reply;
            reply.kind = CannedReply::Kind::kEndlessBody;
            reply.bodyBytes = 4 * 1024 * 1024;
            reply.announceLength = announced;
            return reply;
        });

        EXPECT_EQ(fetcher.GetPage(server.Host(), "/huge"), "");

        EXPECT_EQ(capped.messages, std::vector<FetchMessage>{kHttpError}) << announced;
        EXPECT_EQ(server.Targets().size(), 3u);
    }
}

// A symbol from a damaged file must not split the request line or add header lines.
TEST_F(WebTest, RefusesATargetThatWouldChangeTheRequest) {
    LoopbackHttpServer server([](const std::string&) { return CannedReply::Page("ok"); });
    const FetchMessage warning =
        Warning("Can't open http request on " + server.Host() + " server, please try again later!");

    EXPECT_EQ(web.GetPage(server.Host(), "/d?s=AB\r\nX-Evil: 1&f=1lc"), "");
    EXPECT_EQ(web.GetPage(server.Host(), "/d?s=A B&f=1lc"), "");

    EXPECT_EQ(notifier.messages.size(), 8u);
    EXPECT_EQ(notifier.messages[0], warning);
    EXPECT_TRUE(server.Targets().empty());
}

TEST_F(WebTest, RefusesAHostThatWouldChangeTheAddress) {
    EXPECT_EQ(web.GetPage("example.com/path@127.0.0.1", "/x"), "");

    ASSERT_EQ(notifier.messages.size(), 4u);
    EXPECT_EQ(
        notifier.messages[0],
        Warning("Can't connect to example.com/path@127.0.0.1 server, please try again later!"));
}

TEST_F(WebTest, FollowsARedirectWithItsOwnTarget) {
    LoopbackHttpServer server([](const std::string& target) {
        if (target == "/moved") {
            return CannedReply::Page("here");
        }
        CannedReply reply = CannedReply::Page("", 302);
        reply.extraHeaders = "Location: /moved\r\n";
        return reply;
    });

    EXPECT_EQ(web.GetPage(server.Host(), "/d?s=AB&f=1lc"), "here");
    EXPECT_EQ(server.Targets(), (std::vector<std::string>{"/d?s=AB&f=1lc", "/moved"}));
}

TEST_F(WebTest, StopsFollowingAfterFiveRedirects) {
    LoopbackHttpServer server([](const std::string&) {
        CannedReply reply = CannedReply::Page("loop", 302);
        reply.extraHeaders = "Location: /again\r\n";
        return reply;
    });

    EXPECT_EQ(web.GetPage(server.Host(), "/start"), "");
    EXPECT_EQ(server.Targets().size(), 6u);
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(WebTest, OnlyHttpAndHttpsAreFollowed) {
    LoopbackHttpServer server([](const std::string&) {
        CannedReply reply = CannedReply::Page("", 302);
        reply.extraHeaders = "Location: file:///etc/passwd\r\n";
        return reply;
    });

    EXPECT_EQ(web.GetPage(server.Host(), "/start"), "");
    EXPECT_EQ(server.Targets().size(), 1u);
}

// Every way a page fails to arrive whole leaves its reason, which the update hands on to
// the symbols of the batch: the command line prints it, the list shows it.
struct FailureCase {
    const char* name;
    CannedReply reply;
    std::size_t maxBodyBytes;
    std::string reason;  // LastFailure() starts with it
};

CannedReply Redirect(const std::string& location) {
    CannedReply reply = CannedReply::Page("", 302);
    reply.extraHeaders = "Location: " + location + "\r\n";
    return reply;
}

CannedReply Broken(CannedReply::Kind kind, std::size_t bytes = 0, bool announced = true) {
    CannedReply reply;
    reply.kind = kind;
    reply.body = "<b>12.5</b> and then nothing";
    reply.bodyBytes = bytes;
    reply.announceLength = announced;
    return reply;
}

class WebFailureTest : public WebTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WebFailureTest, SaysWhyThePageDidNotArrive) {
    const FailureCase& c = GetParam();
    FetchLimits limits = TestLimits();
    limits.maxBodyBytes = c.maxBodyBytes;
    CWeb fetcher(notifier, limits);
    LoopbackHttpServer server([&c](const std::string&) { return c.reply; });

    EXPECT_EQ(fetcher.GetPage(server.Host(), "/d?s=AB&f=1lc"), "");

    EXPECT_TRUE(fetcher.LastFailure().starts_with(c.reason)) << fetcher.LastFailure();
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, WebFailureTest,
    ::testing::Values(
        FailureCase{"RedirectLoop", Redirect("/again"), 1 << 20, "more than 5 redirects"},
        FailureCase{"SchemeRefused", Redirect("file:///etc/passwd"), 1 << 20,
                    "the address is refused: only http and https are fetched"},
        FailureCase{"BodyCutShort", Broken(CannedReply::Kind::kBreakInBody), 1 << 20,
                    "the page was cut short ("},
        FailureCase{"BodyStalled", Broken(CannedReply::Kind::kStallInBody), 1 << 20,
                    "the page was cut short ("},
        FailureCase{"SizeCapAnnounced", Broken(CannedReply::Kind::kEndlessBody, 3 << 20), 1 << 20,
                    "the page is larger than 1 MiB"},
        FailureCase{"SizeCapUnannounced",
                    Broken(CannedReply::Kind::kEndlessBody, 512 * 1024, false), 256 * 1024,
                    "the page is larger than 262144 bytes"}),
    CaseName());

// Sets an environment variable for the life of a test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name) {
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { ::unsetenv(m_name); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
};

// Through a proxy the target goes in absolute form, the built path kept behind the host.
// The "proxy" is the loopback server, so nothing leaves the machine.
TEST_F(WebTest, ProxyFromTheEnvironmentGetsTheAbsoluteTarget) {
    LoopbackHttpServer proxy([](const std::string&) { return CannedReply::Page("via proxy"); });
    const ScopedEnvironment variable("http_proxy", "http://" + proxy.Host());

    EXPECT_EQ(web.GetPage("quotes.invalid", "quote.dll?mode=stock&page=quick&symbol=AB"),
              "via proxy");
    EXPECT_EQ(web.GetPage("quotes.invalid:8080", "/d?s=AB&f=1lc"), "via proxy");

    EXPECT_EQ(
        proxy.Targets(),
        (std::vector<std::string>{"http://quotes.invalid/quote.dll?mode=stock&page=quick&symbol=AB",
                                  "http://quotes.invalid:8080/d?s=AB&f=1lc"}));
}

TEST_F(WebTest, SetTextReplacesThePageText) {
    web.SetText("replaced");
    EXPECT_EQ(web.Text(), "replaced");
}

TEST(QuoteHostTest, EmptyHostMeansTheLoopbackQuoteHost) {
    EXPECT_EQ(EffectiveHost(""), "127.0.0.1");
    EXPECT_EQ(EffectiveHost("quotes.example:8080"), "quotes.example:8080");
}

}  // namespace
