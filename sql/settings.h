#pragma once

#include <QStringList>
#include <map>
#include <string>

/// Connection settings as read from mysql.txt files: byte-string keys and values,
/// case-sensitive, nothing trimmed.
using settings_t = std::map<std::string, std::string>;

/// Reads one settings file into `settings`; a file that cannot be opened (missing,
/// unreadable, a directory) leaves the map as it was.
void ReadConfigFile(const QString& path, settings_t& settings);

/// The four places mysql.txt is looked for, in the order they are read. The last one
/// is $HOME + "/.korvane/mysql.txt" and is left out when HOME is unset or empty.
QStringList DefaultConfigLocations();

/// Reads every file of `locations` in order into the same map: later files win.
void ReadConfig(settings_t& settings, const QStringList& locations = DefaultConfigLocations());

/// The last file of `locations` that sets `key` (the one whose value counts); empty when
/// none does.
QString SettingSource(const QStringList& locations, const char* key);

/// Value of `key`, empty when the key is missing.
QString SettingValue(const settings_t& settings, const char* key);
