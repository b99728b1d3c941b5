#include "desktop/app/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "core/model/FileBytes.h"
#include "core/settings/SettingsText.h"

namespace {

QString KeyPath(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

}  // namespace

QString SettingsFilePath() {
    QString overridden = qEnvironmentVariable("VELMORA_CONFIG");
    if (!overridden.isEmpty()) {
        return overridden;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmora/velmora.ini");
}

std::string SettingsFileRefusal(const QString& path) {
    return FileRefusal(path.toStdString(), kSettingsSizeLimit);
}

Settings LoadSettingsFile(const QString& path) {
    if (!SettingsFileRefusal(path).empty()) {
        return {};
    }
    const QSettings file(path, QSettings::IniFormat);
    return ReadSettings(
        [&file](const std::string& section, const std::string& key) -> std::optional<std::string> {
            const QVariant value = file.value(KeyPath(section, key));
            // A value with a comma comes back as a list; it is no valid setting either way.
            if (!value.isValid() || value.typeId() != QMetaType::QString) {
                return std::nullopt;
            }
            return value.toString().toStdString();
        });
}

bool SaveSettingsFile(const QString& path, const Settings& settings) {
    if (!SettingsFileRefusal(path).empty()) {
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings file(path, QSettings::IniFormat);
    for (const SettingsEntry& entry : SettingsEntries(settings)) {
        file.setValue(KeyPath(entry.section, entry.key), QString::fromStdString(entry.value));
    }
    file.sync();
    return file.status() == QSettings::NoError;
}

QuoteHosts LoadQuoteHosts(const QString& path) {
    QuoteHosts hosts;
    if (!SettingsFileRefusal(path).empty()) {
        return hosts;
    }
    const QSettings file(path, QSettings::IniFormat);
    const auto take = [&file](const char* key, std::string& host) {
        const QVariant value = file.value(KeyPath("QuoteHosts", key));
        if (value.isValid() && value.typeId() == QMetaType::QString &&
            !value.toString().trimmed().isEmpty()) {
            host = value.toString().trimmed().toStdString();
        }
    };
    take("AMEX", hosts.amex);
    take("Yahoo", hosts.yahoo);
    take("NASDAQ", hosts.nasdaq);
    return hosts;
}
