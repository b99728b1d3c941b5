#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/Settings.h"

// The settings file holds every value as text. These rules turn those texts into
// `Settings` and back; the file itself is read and written by the program.

// Returns the stored text of a key, or nothing when the key is absent.
using SettingsLookup =
    std::function<std::optional<std::string>(const std::string& section, const std::string& key)>;

struct SettingsEntry {
    std::string section;
    std::string key;
    std::string value;

    friend bool operator==(const SettingsEntry&, const SettingsEntry&) = default;
};

// Reads the keys in their fixed order; absent or invalid texts give the defaults.
Settings ReadSettings(const SettingsLookup& lookup);

// The entries to write at exit, in the order they are written.
std::vector<SettingsEntry> SettingsEntries(const Settings& settings);

// A decimal integer at the start of the text (after blanks, with an optional sign), as a
// C scanf("%d") takes it; nothing when there are no digits or the value does not fit.
std::optional<int> ParseDecimal(const std::string& text);
