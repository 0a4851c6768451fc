#pragma once

#include <QByteArray>
#include <QString>
#include <QTest>

namespace testsupport {

// Reads a whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);
// True when needle occurs in the bytes, or in the file's bytes, as UTF-8 or as UTF-16.
bool containsText(const QByteArray& bytes, const QString& needle);
inline bool fileContainsText(const QString& path, const QString& needle)
{
    return containsText(readFile(path), needle);
}

// One row of a data table on one line: row("name", a, b, c) adds a row holding a, b and c.
template <typename... Values> void row(const QByteArray& name, Values... values)
{
    (QTest::newRow(name.constData()) << ... << values);
}

} // namespace testsupport
