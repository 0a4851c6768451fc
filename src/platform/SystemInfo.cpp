#include "SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <optional>

namespace platform {

namespace {

const QString kSystemConfigFile = QStringLiteral("/etc/xdg/Corvanta/SystemInfo.conf");
const QString kProgramInDirectory = QStringLiteral("sysinfo");

QStringList defaultProgramNames()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("sysinfo"),   QStringLiteral("lshw-gtk"), QStringLiteral("gnome-system-monitor")};
}

QString& configOverride()
{
    static QString path;
    return path;
}

std::optional<QStringList>& namesOverride()
{
    static std::optional<QStringList> names;
    return names;
}

} // namespace

QStringList SystemInfoCandidates()
{
    QStringList candidates;
    // Only read here: the file belongs to the administrator, and asking for more than reading
    // would fail for every ordinary user.
    const QString configFile = systemInfoConfigFile();
    if (QFileInfo(configFile).isFile()) {
        QSettings config(configFile, QSettings::IniFormat);
        config.beginGroup(QStringLiteral("SystemInfo"));
        // The full path is taken as it is; whether it starts is found out by starting it.
        const QString path = config.value(QStringLiteral("Path")).toString();
        if (!path.isEmpty()) {
            candidates << path;
        }
        const QString directory = config.value(QStringLiteral("Directory")).toString();
        if (!directory.isEmpty()) {
            const QString program = QDir(directory).filePath(kProgramInDirectory);
            if (QFileInfo(program).isFile()) {
                candidates << program;
            }
        }
    }
    const QStringList names = namesOverride().value_or(defaultProgramNames());
    for (const QString& name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) {
            candidates << found;
        }
    }
    return candidates;
}

bool StartSystemInfo()
{
    const QStringList candidates = SystemInfoCandidates();
    for (const QString& program : candidates) {
        if (QProcess::startDetached(program, {})) {
            return true;
        }
    }
    return false;
}

void setSystemInfoConfigFile(const QString& path)
{
    configOverride() = path;
}

QString systemInfoConfigFile()
{
    return configOverride().isEmpty() ? kSystemConfigFile : configOverride();
}

void setSystemInfoProgramNames(const QStringList& names)
{
    namesOverride() = names;
}

void resetSystemInfoProgramNames()
{
    namesOverride().reset();
}

} // namespace platform
