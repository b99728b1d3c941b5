#include "mainwindow/DocumentStorage.h"

#include "model/FileBytes.h"
#include "model/Kx7File.h"

StorageOutcome Kx7FileStorage::Load(CKx7Doc& doc, const std::string& path) {
    const Kx7ReadResult read = OpenKx7File(doc, path);
    return {read.error, read.warning};
}

StorageOutcome Kx7FileStorage::Save(const CKx7Doc& doc, const std::string& path) {
    return {WriteFileSafely(path, StoreKx7(doc)), {}};
}
