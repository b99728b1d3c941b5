#include "core/quotes/QuoteHosts.h"

#include "core/settings/Settings.h"

std::string QuoteHosts::For(QuoteSource source) const {
    switch (source) {
        case QuoteSource::kAmex:
            return amex;
        case QuoteSource::kYahoo:
            return yahoo;
        case QuoteSource::kNasdaq:
            return nasdaq;
        default:
            return {};
    }
}

std::string EffectiveHost(std::string_view host) {
    return std::string(host.empty() ? kDefaultQuoteHost : host);
}
