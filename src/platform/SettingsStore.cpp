#include "SettingsStore.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace platform {

namespace {

QString& folderOverride()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QSettings> openStore(const QString& application)
{
    if (!folderOverride().isEmpty()) {
        return std::make_unique<QSettings>(settingsFilePath(application), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application, application);
}

} // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key, const QString& defaultValue)
{
    auto store = openStore(application);
    store->beginGroup(section);
    if (!store->contains(key)) {
        return defaultValue;
    }
    // Every value is a text; a hand-edited file may hold a list, which reads as its first item.
    const QVariant value = store->value(key);
    if (value.typeId() == QMetaType::QStringList) {
        const QStringList items = value.toStringList();
        return items.isEmpty() ? QString() : items.first();
    }
    return value.toString();
}

bool SaveSetting(const QString& application, const QString& section, const QString& key, const QString& value)
{
    auto store = openStore(application);
    store->beginGroup(section);
    store->setValue(key, value);
    store->endGroup();
    store->sync();
    return store->status() == QSettings::NoError;
}

void setSettingsFolder(const QString& folder)
{
    folderOverride() = folder;
}

QString settingsFilePath(const QString& application)
{
    if (!folderOverride().isEmpty()) {
        return QDir(folderOverride()).filePath(application + QStringLiteral(".conf"));
    }
    return QSettings(QSettings::IniFormat, QSettings::UserScope, application, application).fileName();
}

} // namespace platform
