#pragma once

#include <QString>
#include <QStringList>

// The four most recently opened or saved portfolios, newest first, kept in the settings
// file's "Recent File List" section as "File1" to "File4".
class CRecentFileList final {
public:
    static constexpr int kSize = 4;

    const QStringList& Entries() const { return m_entries; }
    bool IsEmpty() const { return m_entries.isEmpty(); }

    // Moves the file to the front, dropping the oldest beyond four.
    void Add(const QString& path);
    void Remove(const QString& path);

    void Load(const QString& settingsPath);
    bool Save(const QString& settingsPath) const;

private:
    QStringList m_entries;
};
