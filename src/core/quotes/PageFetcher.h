#pragma once

#include <string>

// Hands back the text of one page; an empty text when nothing could be fetched. The quote
// update talks to the network only through this, so a test can put canned pages behind it.
class PageFetcher {
public:
    virtual ~PageFetcher() = default;
    virtual std::string GetPage(std::string host, std::string path) = 0;
    // Why the last page did not arrive, or arrived empty; empty when it arrived.
    virtual std::string LastFailure() const { return {}; }
};
