#include "RecordId.h"

#include <limits>

dao::Error recordIdFromText(const QString& text, qint64& id)
{
    id = 0;
    bool isNumber = false;
    const QString trimmed = text.trimmed();
    const qlonglong value = trimmed.toLongLong(&isNumber);
    if (!isNumber) {
        // A number too long for 64 bits is still a number, only too large.
        bool allDigits = !trimmed.isEmpty();
        for (qsizetype i = 0; i < trimmed.size(); ++i) {
            const QChar c = trimmed.at(i);
            allDigits = allDigits && (c.isDigit() || (i == 0 && (c == u'+' || c == u'-')));
        }
        if (allDigits && trimmed.size() > 1) {
            return dao::Error(6, QStringLiteral("Overflow"));
        }
        return dao::Error(13, QStringLiteral("Type mismatch"));
    }
    if (value < 0 || value > std::numeric_limits<qint32>::max()) {
        return dao::Error(6, QStringLiteral("Overflow"));
    }
    id = value;
    return {};
}

qint64 recordIdFromText(const QString& text)
{
    qint64 id = 0;
    (void)recordIdFromText(text, id);
    return id;
}
