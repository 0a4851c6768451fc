#include "CsvFile.h"

#include <QStringDecoder>

namespace csv {

namespace {

// The first line whose bytes do not decode, for a file that as a whole did not.
int firstLineNotUtf8(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(lines.at(i));
        if (decoder.hasError()) {
            return i + 1;
        }
    }
    return lines.size();
}

bool isBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

} // namespace

bool read(const QByteArray& bytes, Table& out, Fault& fault)
{
    out = {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        fault = {firstLineNotUtf8(bytes), QStringLiteral("the text is not UTF-8")};
        return false;
    }
    const qsizetype n = text.size();
    qsizetype i = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    int line = 1;
    // One line break: CRLF, LF or CR.
    auto skipBreak = [&] {
        if (text.at(i) == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) {
            ++i;
        }
        ++i;
        ++line;
    };
    while (i < n) {
        if (isBreak(text.at(i))) {
            skipBreak();
            continue;
        }
        const int recordLine = line;
        QStringList record;
        while (true) {
            QString field;
            if (i < n && text.at(i) == QLatin1Char('"')) {
                const int fieldLine = line;
                ++i;
                while (true) {
                    if (i >= n) {
                        fault = {fieldLine, QStringLiteral("a quoted field does not end")};
                        return false;
                    }
                    const QChar c = text.at(i);
                    if (c == QLatin1Char('"')) {
                        if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                            field += c;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == QLatin1Char('\n') ||
                        (c == QLatin1Char('\r') && !(i + 1 < n && text.at(i + 1) == QLatin1Char('\n')))) {
                        ++line;
                    }
                    field += c;
                    ++i;
                }
                if (i < n && text.at(i) != QLatin1Char(',') && !isBreak(text.at(i))) {
                    fault = {line, QStringLiteral("text follows a closing quote")};
                    return false;
                }
            } else {
                const qsizetype start = i;
                while (i < n && text.at(i) != QLatin1Char(',') && !isBreak(text.at(i))) {
                    if (text.at(i) == QLatin1Char('"')) {
                        fault = {line, QStringLiteral("a quote stands inside a field that is not quoted")};
                        return false;
                    }
                    ++i;
                }
                field = text.mid(start, i - start);
            }
            record << field;
            if (i < n && text.at(i) == QLatin1Char(',')) {
                ++i;
                continue;
            }
            break;
        }
        out.records << record;
        out.lines << recordLine;
        if (i < n) {
            skipBreak();
        }
    }
    return true;
}

void appendRecord(QByteArray& out, const QStringList& fields)
{
    for (qsizetype f = 0; f < fields.size(); ++f) {
        if (f > 0) {
            out += ',';
        }
        const QString& field = fields.at(f);
        const bool quote = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                           field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                           (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
        if (quote) {
            out += '"';
            out += QString(field).replace(QLatin1Char('"'), QLatin1String("\"\"")).toUtf8();
            out += '"';
        } else {
            out += field.toUtf8();
        }
    }
    out += "\r\n";
}

} // namespace csv
