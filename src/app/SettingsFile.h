#pragma once

#include <QString>

#include "app/Settings.h"

// The per-user settings file (INI), or the file named by VELMORA_CONFIG.
QString SettingsFilePath();

// A missing, damaged or unreadable file gives the defaults.
Settings LoadSettingsFile(const QString& path);

// Writes the values in their fixed order; false when the file could not be written.
bool SaveSettingsFile(const QString& path, const Settings& settings);
