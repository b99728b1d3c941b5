#pragma once

#include <string>

#include "core/model/FileIdentity.h"

class CKx7Doc;

// The outcome of reading or writing a portfolio file.
struct StorageOutcome {
    std::string error;    // not empty: the operation failed; the message to show
    std::string warning;  // the file was read only in part; shown once it is open
    FileStamp stamp;      // the file as it was read or written

    bool Ok() const { return error.empty(); }
};

// Reads and writes portfolio files for the main frame. Load fills a cleared document
// (the frame clears it first); neither touches the document's path or modified flag.
class DocumentStorage {
public:
    virtual ~DocumentStorage() = default;
    virtual StorageOutcome Load(CKx7Doc& doc, const std::string& path) = 0;
    virtual StorageOutcome Save(const CKx7Doc& doc, const std::string& path) = 0;
};

// The .kx7 portfolio files, replaced safely on save.
class Kx7FileStorage final : public DocumentStorage {
public:
    StorageOutcome Load(CKx7Doc& doc, const std::string& path) override;
    StorageOutcome Save(const CKx7Doc& doc, const std::string& path) override;
};
