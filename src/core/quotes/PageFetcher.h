#pragma once

#include <string>
#include <vector>

// Hands back the text of one page; an empty text when nothing could be fetched. The quote
// update talks to the network only through this, so a test can put canned pages behind it.
class PageFetcher {
public:
    virtual ~PageFetcher() = default;
    virtual std::string GetPage(std::string host, std::string path) = 0;
    // Fetches a whole address (http or https) once, with extra "Name: value" header lines,
    // following redirects; shows nothing. Empty, with the reason, when nothing came.
    virtual std::string GetUrl(const std::string& /*url*/,
                               const std::vector<std::string>& /*headers*/) {
        return {};
    }
    // Why the last page did not arrive, or arrived empty; empty when it arrived.
    virtual std::string LastFailure() const { return {}; }
};
