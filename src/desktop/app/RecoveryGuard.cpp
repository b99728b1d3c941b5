#include "desktop/app/RecoveryGuard.h"

#include <QStandardPaths>
#include <cstdio>

#include "core/model/Kx7Doc.h"

namespace {

constexpr int kTickMs = 1000;
// A copy waits for the changes to settle, but never longer than this many ticks.
constexpr int kMostTicksToWait = 3;

}  // namespace

CRecoveryGuard::CRecoveryGuard(const CKx7Doc& document, RecoveryStore store, QObject* parent)
    : QObject(parent), m_document(document), m_store(std::move(store)) {
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &CRecoveryGuard::Check);
    m_timer.start();
}

CRecoveryGuard::~CRecoveryGuard() = default;

QString CRecoveryGuard::DefaultFolder() {
    QString overridden = qEnvironmentVariable("VELMORA_RECOVERY_DIR");
    if (!overridden.isEmpty()) {
        return overridden;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/velmora/recovery");
}

void CRecoveryGuard::Check() {
    if (!m_document.IsModified()) {
        if (m_hasCopy) {
            m_store.Remove();
            m_hasCopy = false;
        }
        return;
    }
    const std::uint64_t revision = m_document.Revision();
    if (m_hasCopy && revision == m_writtenRevision) {
        return;
    }
    if (revision != m_seenRevision && m_waitedTicks < kMostTicksToWait) {
        m_seenRevision = revision;
        ++m_waitedTicks;
        return;
    }
    Flush();
}

bool CRecoveryGuard::Flush() {
    if (!m_document.IsModified()) {
        return true;
    }
    m_waitedTicks = 0;
    const std::uint64_t revision = m_document.Revision();
    const std::string error = m_store.Write(m_document);
    if (!error.empty()) {
        // Nothing to show the user: the portfolio itself is unharmed.
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        return false;
    }
    m_hasCopy = true;
    m_writtenRevision = revision;
    return true;
}

void CRecoveryGuard::Finish() {
    m_timer.stop();
    m_store.Remove();
    m_hasCopy = false;
}
