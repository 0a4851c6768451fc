#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The desktop's system-information program, looked for in three places in this order:
//  1. the full path in the key "Path" of section [SystemInfo] of the system-wide file
//     /etc/xdg/Corvanta/SystemInfo.conf (read only; the administrator sets it);
//  2. the program "sysinfo" in the directory of the key "Directory" of that section, if a file is
//     there;
//  3. the first of a few well-known system-information programs found on PATH.
// StartSystemInfo starts the first that will start and tells whether one did; it never shows
// anything, the caller says that the program is unavailable.
bool StartSystemInfo();

// The places tried, in order, for the present configuration (a place that is not set is left out).
QStringList SystemInfoCandidates();

// Tests point the configuration file and the list of well-known names elsewhere; an empty
// path restores the system-wide file, and resetSystemInfoProgramNames the usual names.
void setSystemInfoConfigFile(const QString& path);
QString systemInfoConfigFile();
void setSystemInfoProgramNames(const QStringList& names);
void resetSystemInfoProgramNames();

} // namespace platform
