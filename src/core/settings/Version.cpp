#include "core/settings/Version.h"

#include <cstdio>

std::string VersionText() {
    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%d.%d.%d", kVersionNumbers[0], kVersionNumbers[1],
                  kVersionNumbers[2], kVersionNumbers[3]);
    return text;
}
