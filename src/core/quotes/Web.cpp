#include "core/quotes/Web.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "core/quotes/FetchNotifier.h"
#include "core/quotes/QuoteHosts.h"
#include "core/quotes/SourceRequest.h"
#include "core/quotes/SystemProxy.h"
#include "core/settings/Version.h"

namespace {

constexpr std::string_view kTryAgain = " server, please try again later!";
constexpr std::string_view kSchemeRefused =
    "the address is refused: only http and https are fetched";

// "16 MiB" for the program's own cap; a cap that is no whole number of MiB in bytes.
std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    if (bytes >= kMiB && bytes % kMiB == 0) {
        return std::to_string(bytes / kMiB) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

// libcurl's global set-up is not safe to race with a first handle on another thread, so
// it runs once, before any handle exists.
bool CurlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

// A host name, an IPv4 address or a bracketed IPv6 address, with an optional ":port".
// Anything else (a "/", an "@", white space) would change what the URL means.
bool IsHostText(std::string_view host) {
    if (host.empty()) {
        return false;
    }
    return std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']';
    });
}

// The target goes into the request line unescaped, so a symbol from a damaged file that
// holds a space or a line break must not reach it: it would split the request line or add
// header lines of its own.
bool IsRequestTarget(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    return std::none_of(path.begin(), path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

// What one attempt saw, filled in by libcurl's callbacks.
struct Transfer {
    const FetchLimits& limits;
    const std::function<void()>& onChunk;
    const std::function<bool()>& keepGoing;
    std::vector<char> body;
    bool connected = false;
    bool responseBegan = false;
    bool refused = false;    // the body broke the size cap, or storing it failed
    bool abandoned = false;  // the caller no longer wants the page
};

int OnConnected(void* context, char* /*ip*/, char* /*localIp*/, int /*port*/, int /*localPort*/) {
    static_cast<Transfer*>(context)->connected = true;
    return CURL_PREREQFUNC_OK;
}

std::size_t OnHeader(char* /*data*/, std::size_t size, std::size_t count, void* context) {
    static_cast<Transfer*>(context)->responseBegan = true;
    return size * count;
}

// Nothing may unwind through libcurl; a caller that cannot say gives the page up.
bool AskKeepGoing(const Transfer& transfer) {
    try {
        return !transfer.keepGoing || transfer.keepGoing();
    } catch (...) {
        return false;  // a caller that cannot say gives the page up
    }
}

int OnProgress(void* context, curl_off_t /*downTotal*/, curl_off_t /*downNow*/,
               curl_off_t /*upTotal*/, curl_off_t /*upNow*/) {
    auto& transfer = *static_cast<Transfer*>(context);
    if (AskKeepGoing(transfer)) {
        return 0;
    }
    transfer.abandoned = true;
    return 1;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t length = size * count;
    transfer.responseBegan = true;
    if (length > transfer.limits.maxBodyBytes - transfer.body.size()) {
        transfer.refused = true;
        return 0;
    }
    try {
        transfer.body.insert(transfer.body.end(), data, data + length);
        if (transfer.onChunk) {
            transfer.onChunk();
        }
    } catch (...) {
        // Nothing may unwind through libcurl; the attempt fails instead.
        transfer.refused = true;
        return 0;
    }
    return length;
}

// How often a transfer asks its caller whether to go on, while the server is silent too.
constexpr int kPollMs = 100;

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// One transfer of the handle. The caller is asked every tenth of a second, not only when
// libcurl reports progress (about once a second while nothing arrives), so that a Cancel
// ends a transfer at once.
CURLcode Perform(CURL* handle, Transfer& transfer) {
    const std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), handle) != CURLM_OK) {
        return CURLE_OUT_OF_MEMORY;
    }
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
        if (running == 0) {
            break;
        }
        if (!AskKeepGoing(transfer)) {
            transfer.abandoned = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr);
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
        if (message->msg == CURLMSG_DONE && !transfer.abandoned) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi.get(), handle);
    return result;
}

// A proxy needs the absolute form of the target; the path is kept as built behind the host.
std::string FirstTarget(const std::string& proxy, const std::string& server,
                        const std::string& path) {
    if (proxy.empty()) {
        return path;
    }
    return "http://" + server + (path.starts_with('/') ? "" : "/") + path;
}

bool Configure(CURL* handle, Transfer& transfer, const std::string& body,
               const std::string& proxy) {
    const FetchLimits& limits = transfer.limits;
    bool ok = true;
    const auto set = [&](CURLoption option, auto value) {
        ok = ok && curl_easy_setopt(handle, option, value) == CURLE_OK;
    };
    set(CURLOPT_USERAGENT, kProductName);
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_NOSIGNAL, 1L);
    // Decided here rather than left to libcurl, so that the target's form can follow it;
    // the empty text means a direct connection.
    set(CURLOPT_PROXY, proxy.c_str());
    set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    set(CURLOPT_PREREQFUNCTION, &OnConnected);
    set(CURLOPT_PREREQDATA, static_cast<void*>(&transfer));
    set(CURLOPT_HEADERFUNCTION, &OnHeader);
    set(CURLOPT_HEADERDATA, static_cast<void*>(&transfer));
    set(CURLOPT_WRITEFUNCTION, &OnBody);
    set(CURLOPT_WRITEDATA, static_cast<void*>(&transfer));
    if (transfer.keepGoing) {
        set(CURLOPT_XFERINFOFUNCTION, &OnProgress);
        set(CURLOPT_XFERINFODATA, static_cast<void*>(&transfer));
        set(CURLOPT_NOPROGRESS, 0L);
    }
    if (!body.empty()) {
        set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        set(CURLOPT_POSTFIELDS, body.c_str());
        set(CURLOPT_CUSTOMREQUEST, "GET");
    }
    return ok;
}

}  // namespace

CWeb::CWeb(FetchNotifier& notifier, FetchLimits limits) : m_notifier(notifier), m_limits(limits) {}

std::string CWeb::GetPage(std::string host, std::string path) {
    const std::vector<char>* page = Fetch(host, path);
    if (page == nullptr) {
        m_text.clear();
    } else {
        const auto end = std::find(page->begin(), page->end(), '\0');
        m_text.assign(page->begin(), end);
    }
    return m_text;
}

const std::vector<char>* CWeb::Fetch(const std::string& host, const std::string& path) {
    m_page.reset();
    m_abandoned = false;
    m_failure.clear();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!KeepGoing()) {
            m_abandoned = true;
        }
        // Given up by the caller: not a failure to tell anyone about.
        if (m_abandoned || TryFetch(host, path, {}, m_page)) {
            break;
        }
    }
    if (m_abandoned) {
        m_page.reset();
        m_failure = "the update was stopped, or ran out of time, before the page arrived";
        return nullptr;
    }
    if (m_page) {
        return &*m_page;
    }
    m_notifier.Show({std::string(kHttpErrorText), std::string(kHttpErrorCaption), false});
    return nullptr;
}

bool CWeb::TryFetch(const std::string& host, const std::string& path, const std::string& body,
                    std::optional<std::vector<char>>& out) {
    out.reset();
    // Only the last attempt's failure counts: a page that came on a later attempt has none.
    m_failure.clear();
    const std::string server = EffectiveHost(host);
    const CurlHandle handle(CurlReady() ? curl_easy_init() : nullptr);
    Transfer transfer{m_limits, m_onChunk, m_keepGoing, {}, false, false, false, false};
    const std::string proxy = SystemProxyFor(server);
    if (!handle || !Configure(handle.get(), transfer, body, proxy)) {
        m_failure = "no internet session could be opened";
        Warn("Can't open internet session, please try again later!");
        return false;
    }
    if (!IsHostText(server)) {
        m_failure = "\"" + server + "\" is no host name";
        Warn("Can't connect to " + server + std::string(kTryAgain));
        return false;
    }
    if (!IsRequestTarget(path)) {
        m_failure = "the request would hold a space or a control character";
        Warn("Can't open http request on " + server + std::string(kTryAgain));
        return false;
    }

    // Redirects are followed here rather than by libcurl, because the request target set
    // for the first request would otherwise be sent again to the new location.
    const std::string target = FirstTarget(proxy, server, path);
    const auto deadline = std::chrono::steady_clock::now() + m_limits.transferTimeout;
    std::string url = "http://" + server + "/";
    for (int hop = 0;; ++hop) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const bool configured =
            curl_easy_setopt(handle.get(), CURLOPT_URL, url.c_str()) == CURLE_OK &&
            curl_easy_setopt(handle.get(), CURLOPT_REQUEST_TARGET,
                             hop == 0 ? target.c_str() : nullptr) == CURLE_OK &&
            curl_easy_setopt(handle.get(), CURLOPT_TIMEOUT_MS,
                             static_cast<long>(std::max<std::int64_t>(left.count(), 1))) ==
                CURLE_OK;
        transfer.body.clear();
        const CURLcode code = configured ? Perform(handle.get(), transfer) : CURLE_URL_MALFORMAT;

        if (transfer.abandoned) {
            m_abandoned = true;
            return false;
        }
        if (transfer.refused || code == CURLE_FILESIZE_EXCEEDED) {
            m_failure = "the page is larger than " + SizeText(m_limits.maxBodyBytes);
            return false;
        }
        if (code != CURLE_OK) {
            const std::string reason = curl_easy_strerror(code);
            const bool schemeRefused =
                code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL;
            if (transfer.responseBegan) {
                // The response had begun (a redirect's, perhaps): what arrived is dropped,
                // and the empty page counts as fetched, with no message.
                m_failure = schemeRefused ? std::string(kSchemeRefused)
                                          : "the page was cut short (" + reason + ")";
                out.emplace();
                return true;
            }
            if (transfer.connected) {
                m_failure = server + " did not answer (" + reason + ")";
                Warn("Can't send request to " + server + std::string(kTryAgain));
            } else if (schemeRefused) {
                m_failure = kSchemeRefused;
                Warn("Can't open http request on " + server + std::string(kTryAgain));
            } else {
                m_failure = "could not connect to " + server + " (" + reason + ")";
                Warn("Can't connect to " + server + std::string(kTryAgain));
            }
            return false;
        }

        long status = 0;
        char* location = nullptr;
        curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(handle.get(), CURLINFO_REDIRECT_URL, &location);
        if (status >= 400) {
            // An error page may echo the request, symbols and all: it holds no prices.
            m_failure = server + " answered with HTTP status " + std::to_string(status);
            return false;
        }
        if (status / 100 != 3 || location == nullptr) {
            out = std::move(transfer.body);
            return true;
        }
        if (hop >= m_limits.maxRedirects) {
            m_failure = "more than " + std::to_string(m_limits.maxRedirects) + " redirects";
            out.emplace();
            return true;
        }
        url = location;
    }
}

std::string CWeb::GetUrl(const std::string& url, const std::vector<std::string>& headers) {
    m_failure.clear();
    m_text.clear();
    const std::string host = UrlHost(url);
    if (!KeepGoing()) {
        m_failure = "the update was stopped, or ran out of time, before the answer arrived";
        return {};
    }
    const CurlHandle handle(CurlReady() ? curl_easy_init() : nullptr);
    Transfer transfer{m_limits, m_onChunk, m_keepGoing, {}, false, false, false, false};
    if (!handle || !Configure(handle.get(), transfer, {}, "")) {
        m_failure = "no internet session could be opened";
        return {};
    }
    if (!IsRequestTarget(url)) {
        m_failure = "the address holds a space or a control character";
        return {};
    }
    HeaderList list;
    for (const std::string& header : headers) {
        curl_slist* longer = curl_slist_append(list.get(), header.c_str());
        if (longer == nullptr) {
            m_failure = "no internet session could be opened";
            return {};
        }
        static_cast<void>(list.release());
        list.reset(longer);
    }
    CURL* easy = handle.get();
    // Redirects are followed here rather than by libcurl, which would send the caller's
    // header lines, an API key among them, to whatever host a redirect names.
    const auto deadline = std::chrono::steady_clock::now() + m_limits.transferTimeout;
    std::string address = url;
    CURLcode code = CURLE_OK;
    long status = 0;
    for (int hop = 0;; ++hop) {
        const std::string hopHost = UrlHost(address);
        const bool secure = address.starts_with("https://");
        const std::string proxy = secure ? std::string() : SystemProxyFor(hopHost);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        // An https address goes through the proxy the environment names for https, as
        // libcurl reads it, rather than the plain HTTP one.
        const bool configured =
            curl_easy_setopt(easy, CURLOPT_PROXY, secure ? nullptr : proxy.c_str()) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_URL, address.c_str()) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, hopHost == host ? list.get() : nullptr) ==
                CURLE_OK &&
            curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                             static_cast<long>(std::max<std::int64_t>(left.count(), 1))) ==
                CURLE_OK;
        transfer.body.clear();
        code = configured ? Perform(easy, transfer) : CURLE_URL_MALFORMAT;
        if (code != CURLE_OK || transfer.abandoned || transfer.refused) {
            break;
        }
        char* location = nullptr;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
        if (status / 100 != 3 || location == nullptr) {
            break;
        }
        if (hop >= m_limits.maxRedirects) {
            m_failure = "more than " + std::to_string(m_limits.maxRedirects) + " redirects";
            return {};
        }
        address = location;
    }
    if (transfer.abandoned) {
        m_failure = "the update was stopped, or ran out of time, before the answer arrived";
        return {};
    }
    if (transfer.refused || code == CURLE_FILESIZE_EXCEEDED) {
        m_failure = "the answer is larger than " + SizeText(m_limits.maxBodyBytes);
        return {};
    }
    if (code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL) {
        m_failure = std::string(kSchemeRefused);
        return {};
    }
    if (code == CURLE_OPERATION_TIMEDOUT) {
        m_failure = host + " did not answer in time";
        return {};
    }
    if (code != CURLE_OK) {
        m_failure = (transfer.connected ? host + " broke off the answer ("
                                        : "could not reach " + host + " (") +
                    curl_easy_strerror(code) + ")";
        return {};
    }
    if (status >= 400) {
        m_failure = host + " answered with HTTP status " + std::to_string(status);
        return {};
    }
    m_text.assign(transfer.body.begin(), transfer.body.end());
    if (m_text.empty()) {
        m_failure = host + " sent an empty answer";
    }
    return m_text;
}

void CWeb::Warn(std::string text) {
    m_notifier.Show({std::move(text), std::string(kFetchWarningCaption), true});
}
