#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

#include "core/model/RecoveryStore.h"

class CKx7Doc;

// Keeps a recovery copy of the portfolio while it has unsaved changes: written a moment
// after each burst of changes (on a timer, never while painting), removed once the
// changes are saved or dropped.
class CRecoveryGuard final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRecoveryGuard)

public:
    CRecoveryGuard(const CKx7Doc& document, RecoveryStore store, QObject* parent = nullptr);
    ~CRecoveryGuard() override;

    // The per-user folder of the copies; VELMORA_RECOVERY_DIR names another (tests).
    static QString DefaultFolder();

    const RecoveryStore& Store() const { return m_store; }

    // One look at the document: what the timer does every second.
    void Check();
    // Writes the copy now when there are unsaved changes; false when that failed.
    bool Flush();
    // The program ends normally: no copy is left behind.
    void Finish();

private:
    const CKx7Doc& m_document;
    RecoveryStore m_store;
    QTimer m_timer;
    std::uint64_t m_writtenRevision = 0;
    std::uint64_t m_seenRevision = 0;
    int m_waitedTicks = 0;
    bool m_hasCopy = false;
};
