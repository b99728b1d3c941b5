#include "core/quotes/QuoteHosts.h"

#include "core/settings/Settings.h"

std::string QuoteHosts::For(int source) const {
    switch (source) {
        case Settings::kAmex:
            return amex;
        case Settings::kYahoo:
            return yahoo;
        case Settings::kNasdaq:
            return nasdaq;
        default:
            return {};
    }
}

std::string EffectiveHost(std::string_view host) {
    return std::string(host.empty() ? kDefaultQuoteHost : host);
}
