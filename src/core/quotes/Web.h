#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/quotes/PageFetcher.h"

class FetchNotifier;

// Bounds of one attempt. The defaults are the program's; tests shorten the times.
struct FetchLimits {
    std::chrono::milliseconds connectTimeout{15'000};
    std::chrono::milliseconds transferTimeout{60'000};  // the whole attempt, redirects included
    std::size_t maxBodyBytes = std::size_t{16} << 20;
    int maxRedirects = 5;
};

// Fetches one page with an HTTP GET and hands it back as text. It knows nothing of quotes:
// the request target is sent exactly as the caller built it. Every attempt uses its own
// libcurl handle, so nothing carries over from one attempt or fetch to the next. One
// object belongs to one thread; two threads fetch with two objects.
class CWeb final : public PageFetcher {
public:
    static constexpr int kAttempts = 3;

    explicit CWeb(FetchNotifier& notifier, FetchLimits limits = {});

    // Called once for every chunk of a body that arrives, on the fetching thread, so that
    // a window fetching on its own thread stays responsive. It must not throw.
    void SetChunkCallback(std::function<void()> onChunk) { m_onChunk = std::move(onChunk); }

    // Asked before every attempt and often during one, on the fetching thread (about ten
    // times a second while the server is silent). False abandons the fetch at once: no
    // further attempt, no message, nothing returned. It must not throw.
    void SetProgressCallback(std::function<bool()> keepGoing) {
        m_keepGoing = std::move(keepGoing);
    }

    // The page text, cut at the first NUL byte; empty after a failed fetch.
    std::string GetPage(std::string host, std::string path) override;

    // One attempt at a whole address, as the defined quote sources ask: no message is
    // shown and no attempt repeated (a second request would count against the service's
    // rate limit); why it failed is in LastFailure. The body comes back whole.
    std::string GetUrl(const std::string& url, const std::vector<std::string>& headers) override;

    // Up to three attempts with no pause between them; after three failures the final
    // error is shown and nothing is returned. The bytes stay owned by this object.
    const std::vector<char>* Fetch(const std::string& host, const std::string& path);

    // One complete attempt; false when it failed (its warning has been shown, if any).
    bool TryFetch(const std::string& host, const std::string& path, const std::string& body,
                  std::optional<std::vector<char>>& out);

    // Why the last fetch brought no page, or an empty one; empty after a page arrived.
    std::string LastFailure() const override { return m_failure; }

    void SetText(std::string text) { m_text = std::move(text); }
    const std::string& Text() const { return m_text; }

private:
    void Warn(std::string text);
    bool KeepGoing() const { return !m_keepGoing || m_keepGoing(); }

    FetchNotifier& m_notifier;
    FetchLimits m_limits;
    std::function<void()> m_onChunk;
    std::function<bool()> m_keepGoing;
    bool m_abandoned = false;
    std::string m_failure;
    std::string m_text;
    std::optional<std::vector<char>> m_page;
};
