#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "core/quotes/QuoteHosts.h"
#include "core/settings/Settings.h"

// The per-user settings file (INI), or the file named by VELMORA_CONFIG.
QString SettingsFilePath();

// Settings files are small; one larger than this is no settings file of ours.
inline constexpr std::uint64_t kSettingsSizeLimit = std::uint64_t{1} << 20;

// Why the file at `path` is not used as the settings file (a FIFO, a device, a folder, or
// larger than kSettingsSizeLimit); empty when it is, or does not exist yet. A refused file
// is neither read nor written: the program runs on the defaults and leaves it as it is.
std::string SettingsFileRefusal(const QString& path);

// The file of the user's quote sources and chain, beside the settings file.
QString QuoteSourcesFilePath(const QString& settingsPath);

// A missing, damaged, unreadable or refused file gives the defaults. The quote sources come
// from their own file; without one, the chain is the ready-made sources. What could not be
// read of that file is added to `problems`.
Settings LoadSettingsFile(const QString& path, std::vector<std::string>* problems = nullptr);

// Writes the values in their fixed order, and the quote sources to their file when the
// user has any or has changed the chain; both files are readable by their owner alone, as
// a source's headers may hold an API key. False when a file could not be written or is
// refused.
bool SaveSettingsFile(const QString& path, const Settings& settings);

// The quote hosts: the services' public names, each replaced by a non-empty value of the
// file's "QuoteHosts" section ("AMEX", "Yahoo", "NASDAQ"; a value may carry ":port").
QuoteHosts LoadQuoteHosts(const QString& path);
