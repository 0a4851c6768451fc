#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Reads a whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);
// True when needle occurs in the file's bytes as UTF-8 or as UTF-16.
bool fileContainsText(const QString& path, const QString& needle);

} // namespace testsupport
