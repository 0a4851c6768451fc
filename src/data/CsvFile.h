#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated text as password keepers and browsers export it: a field may be quoted with
// double quotes, and then holds commas, line breaks and quotes (written twice).
namespace csv {

struct Table
{
    QList<QStringList> records;
    QList<int> lines; // the line (from 1) where each record begins
};

// Where reading stopped: the line (from 1) and what is wrong there.
struct Fault
{
    int line = 0;
    QString reason;
};

// Reads UTF-8 text: a byte-order mark is skipped, records end with CRLF, LF or CR, empty lines
// are left out. Fails at the first fault: bytes that are not UTF-8, a quote inside an unquoted
// field, text after a closing quote, a quoted field that never ends (reported at the line where
// it began).
[[nodiscard]] bool read(const QByteArray& bytes, Table& out, Fault& fault);

// Appends one record ending in CRLF, quoting the fields that need it.
void appendRecord(QByteArray& out, const QStringList& fields);

} // namespace csv
