#pragma once

#include <string>
#include <string_view>

#include "core/settings/Settings.h"

// Taken when a fetch is given no host at all; no caller of the program does that.
inline constexpr std::string_view kDefaultQuoteHost = "127.0.0.1";

// The hosts that serve the three quote sources. The defaults are the services' public
// names; the settings file's "QuoteHosts" section ("AMEX", "Yahoo", "NASDAQ") overrides
// them, and a value may carry ":port". The caller fills this from wherever it reads
// settings; the core reads no file.
struct QuoteHosts {
    std::string amex = "quote.amex.com";
    std::string yahoo = "quote.yahoo.com";
    std::string nasdaq = "quotes.nasdaq.com";

    // The host of a `Settings::quoteSource` value; empty for a value that names no source.
    std::string For(QuoteServer source) const;
};

// The host a fetch goes to: the given one, or the default quote host when it is empty.
std::string EffectiveHost(std::string_view host);
