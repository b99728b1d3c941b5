#include "desktop/app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "desktop/app/SettingsFile.h"

namespace {

const QString kSection = QStringLiteral("Recent File List");

QString Key(int index) {
    return kSection + QStringLiteral("/File%1").arg(index + 1);
}

// Two spellings of one file are one entry.
QString Canonical(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

void CRecentFileList::Add(const QString& path) {
    const QString entry = Canonical(path);
    m_entries.removeAll(entry);
    m_entries.prepend(entry);
    while (m_entries.size() > kSize) {
        m_entries.removeLast();
    }
}

void CRecentFileList::Remove(const QString& path) {
    m_entries.removeAll(Canonical(path));
}

void CRecentFileList::Load(const QString& settingsPath) {
    m_entries.clear();
    if (!SettingsFileRefusal(settingsPath).empty()) {
        return;
    }
    const QSettings file(settingsPath, QSettings::IniFormat);
    for (int i = 0; i < kSize; ++i) {
        const QVariant value = file.value(Key(i));
        if (value.typeId() == QMetaType::QString && !value.toString().isEmpty() &&
            !m_entries.contains(value.toString())) {
            m_entries.append(value.toString());
        }
    }
}

bool CRecentFileList::Save(const QString& settingsPath) const {
    if (!SettingsFileRefusal(settingsPath).empty()) {
        return false;
    }
    QDir().mkpath(QFileInfo(settingsPath).absolutePath());
    QSettings file(settingsPath, QSettings::IniFormat);
    file.remove(kSection);
    for (int i = 0; i < m_entries.size(); ++i) {
        file.setValue(Key(i), m_entries[i]);
    }
    file.sync();
    return file.status() == QSettings::NoError;
}
