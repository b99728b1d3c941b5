#pragma once

#include <QString>

#include "app/Settings.h"
#include "quotes/QuoteHosts.h"

// The per-user settings file (INI), or the file named by VELMORA_CONFIG.
QString SettingsFilePath();

// A missing, damaged or unreadable file gives the defaults.
Settings LoadSettingsFile(const QString& path);

// Writes the values in their fixed order; false when the file could not be written.
bool SaveSettingsFile(const QString& path, const Settings& settings);

// The quote hosts: the services' public names, each replaced by a non-empty value of the
// file's "QuoteHosts" section ("AMEX", "Yahoo", "NASDAQ"; a value may carry ":port").
QuoteHosts LoadQuoteHosts(const QString& path);
