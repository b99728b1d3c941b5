#include "core/quotes/QuoteHosts.h"

#include "core/settings/Settings.h"

std::string QuoteHosts::For(QuoteServer source) const {
    switch (source) {
        case QuoteServer::kAmex:
            return amex;
        case QuoteServer::kYahoo:
            return yahoo;
        case QuoteServer::kNasdaq:
            return nasdaq;
        default:
            return {};
    }
}

std::string EffectiveHost(std::string_view host) {
    return std::string(host.empty() ? kDefaultQuoteHost : host);
}
