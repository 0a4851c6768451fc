#pragma once

#include <QString>

namespace platform {

// The per-user store of text settings, addressed by application, section and key. It is an INI
// file in the user's configuration folder, one per application name.

// The stored text, or defaultValue when the key is absent.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Stores the text. False when the store could not be written (the caller decides whether that
// matters; the program never tells the user about settings).
bool SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value);

// Tests keep the store in a folder of their own: every application's file then lives there as
// "<application>.conf". Empty restores the user's configuration folder.
void setSettingsFolder(const QString& folder);
// Where the store of an application is kept.
QString settingsFilePath(const QString& application);

} // namespace platform
