#include "desktop/app/DocumentSignals.h"

#include "core/model/Kx7Doc.h"

DocumentSignals::DocumentSignals(const CKx7Doc& document, QObject* parent)
    : QObject(parent), m_document(document) {
    m_document.AddObserver(*this);
}

DocumentSignals::~DocumentSignals() {
    m_document.RemoveObserver(*this);
}

void DocumentSignals::Changed(const ChangeSet& changes) {
    emit DocumentChanged(changes);
}
