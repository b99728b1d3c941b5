#pragma once

#include <string>

// Rows shaped the way each quote service's page carries a symbol; only the markers and the
// offsets from them count.
inline std::string AmexRow(const std::string& symbol, const std::string& price) {
    return "<td><a href=\"q?s=" + symbol + "\">" + symbol + "</a></td>" + std::string(100, ' ') +
           "<td>$" + price + "</td>\n";
}

inline std::string NasdaqTail(const std::string& image, const std::string& change) {
    return "<img src=\"/images/nc_" + image + ".gif\"><font color=\"008000\">" + change + "</font>";
}

inline std::string NasdaqRow(const std::string& symbol, const std::string& price,
                             const std::string& tail) {
    return "<font face=arial>" + symbol + "</font>" + std::string(250, ' ') + "$&nbsp;" + price +
           tail + "\n";
}
