#include "core/model/DocumentStorage.h"

#include "core/model/Kx7File.h"

StorageOutcome Kx7FileStorage::Load(CKx7Doc& doc, const std::string& path) {
    const Kx7ReadResult read = OpenKx7File(doc, path);
    return {read.error, read.warning, read.stamp};
}

StorageOutcome Kx7FileStorage::Save(const CKx7Doc& doc, const std::string& path) {
    StorageOutcome outcome;
    outcome.error = WriteKx7File(doc, path, &outcome.stamp);
    return outcome;
}
