#include "mainwindow/DocumentStorage.h"

namespace {

constexpr const char* kNotAvailable = "Portfolio files cannot be read or written in this build.";

}  // namespace

StorageOutcome UnavailableStorage::Load(CKx7Doc& /*doc*/, const std::string& /*path*/) {
    return {kNotAvailable, {}};
}

StorageOutcome UnavailableStorage::Save(const CKx7Doc& /*doc*/, const std::string& /*path*/) {
    return {kNotAvailable, {}};
}
