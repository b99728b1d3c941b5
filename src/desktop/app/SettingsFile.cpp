#include "desktop/app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "core/model/FileBytes.h"
#include "core/quotes/QuoteSourcesFile.h"
#include "core/settings/SettingsText.h"

namespace {

QString KeyPath(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void LoadQuoteSources(const QString& settingsPath, Settings& settings,
                      std::vector<std::string>* problems) {
    settings.quoteChain = DefaultQuoteChain();
    const QString path = QuoteSourcesFilePath(settingsPath);
    if (!QFileInfo::exists(path)) {
        return;
    }
    const FileBytes file = ReadFileBytes(path.toStdString(), kQuoteSourcesFileLimit);
    if (!file.error.empty()) {
        if (problems != nullptr) {
            problems->push_back(file.error);
        }
        return;
    }
    QuoteSourcesSetup setup = ReadQuoteSourcesJson(
        std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
    settings.quoteSources = std::move(setup.sources);
    if (setup.chainGiven) {
        settings.quoteChain = std::move(setup.chain);
    }
    if (setup.problems.empty() || problems == nullptr) {
        return;
    }
    for (std::string& problem : setup.problems) {
        problems->push_back(path.toStdString() + ": " + problem);
    }
    // The file is written anew at exit with what could be read; the user's text, damaged
    // parts and all, stays beside it to be mended.
    const QString kept = path + QStringLiteral(".bak");
    QFile::remove(kept);
    if (QFile::copy(path, kept)) {
        problems->push_back("The file as it was is kept as " + kept.toStdString() + ".");
    }
}

// Written only once there is something of the user's to keep, so that a user who never
// chose follows the program's ready-made chain as it improves.
bool SaveQuoteSources(const QString& settingsPath, const Settings& settings) {
    const QString path = QuoteSourcesFilePath(settingsPath);
    if (settings.quoteSources.empty() && settings.quoteChain == DefaultQuoteChain() &&
        !QFileInfo::exists(path)) {
        return true;
    }
    // The new file takes the permissions of the one it replaces, so the key never lies in
    // a file others may read.
    if (!QFileInfo::exists(path)) {
        QFile created(path);
        if (!created.open(QIODevice::WriteOnly)) {
            return false;
        }
    }
    QFile::setPermissions(path, kOwnerOnly);
    const std::string text = QuoteSourcesJson(settings.quoteSources, settings.quoteChain);
    return WriteFileSafely(
               path.toStdString(),
               std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
               Backup::kNone)
        .empty();
}

}  // namespace

QString QuoteSourcesFilePath(const QString& settingsPath) {
    return QFileInfo(settingsPath).absolutePath() + QStringLiteral("/quote-sources.json");
}

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

Settings LoadSettingsFile(const QString& path, std::vector<std::string>* problems) {
    if (!SettingsFileRefusal(path).empty()) {
        Settings settings;
        settings.quoteChain = DefaultQuoteChain();
        return settings;
    }
    const QSettings file(path, QSettings::IniFormat);
    Settings settings = ReadSettings(
        [&file](const std::string& section, const std::string& key) -> std::optional<std::string> {
            const QVariant value = file.value(KeyPath(section, key));
            // A value with a comma comes back as a list; it is no valid setting either way.
            if (!value.isValid() || value.typeId() != QMetaType::QString) {
                return std::nullopt;
            }
            return value.toString().toStdString();
        });
    LoadQuoteSources(path, settings, problems);
    return settings;
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
    QFile::setPermissions(path, kOwnerOnly);
    return file.status() == QSettings::NoError && SaveQuoteSources(path, settings);
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
