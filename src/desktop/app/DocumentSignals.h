#pragma once

#include <QObject>

#include "core/model/DocumentChange.h"

class CKx7Doc;

// The document's announcements as a Qt signal, for widgets to connect to. Each listener
// makes its own; it stops listening when it is destroyed.
class DocumentSignals final : public QObject, private DocumentObserver {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DocumentSignals)

public:
    DocumentSignals(const CKx7Doc& document, QObject* parent);
    ~DocumentSignals() override;

signals:
    void DocumentChanged(const ChangeSet& changes);

private:
    void Changed(const ChangeSet& changes) override;

    const CKx7Doc& m_document;
};
