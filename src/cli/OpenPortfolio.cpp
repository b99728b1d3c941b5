#include "OpenPortfolio.h"

#include <cstdio>

bool OpenPortfolio(CKx7Doc& doc, const std::string& path, Kx7ReadResult& read) {
    read = OpenKx7File(doc, path);
    if (!read.Ok()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", path.c_str(), read.error.c_str());
        return false;
    }
    if (!read.warning.empty()) {
        std::fprintf(stderr, "velmora-cli: %s: %s\n", path.c_str(), read.warning.c_str());
    }
    return true;
}
