#include "DisplayFormat.h"

#include <QRegularExpression>

namespace {

constexpr qsizetype kPhoneDigits = 10;
constexpr qsizetype kFormattedPhoneLength = 14; // "(800) 555-1234"

// The digits and blanks of a number kept in its positions, or an empty text when it is not one.
QString positionalPhone(const QString& phone)
{
    QString kept;
    for (QChar c : phone) {
        if ((c >= u'0' && c <= u'9') || c == u'_') {
            kept += c;
        }
    }
    return kept.size() == kPhoneDigits && kept.contains(u'_') && kept.count(u'_') < kPhoneDigits ? kept : QString();
}

} // namespace

QString wf_FormatPhone(const QString& arstr_Phone, bool arbool_IncludeExtension)
{
    const QString positional = positionalPhone(arstr_Phone);
    QString digits = positional.isEmpty() ? wf_GetPhoneDigits(arstr_Phone) : positional;
    const bool hasExtension = digits.size() > kPhoneDigits;
    if (digits.isEmpty()) {
        return {};
    }
    if (digits.size() < kPhoneDigits) {
        digits.prepend(QString(kPhoneDigits - digits.size(), u'_'));
    }
    QString shown = u'(' + digits;
    shown.insert(4, u')');
    shown.insert(5, u' ');
    shown.insert(9, u'-');
    if (arbool_IncludeExtension && hasExtension) {
        shown.insert(kFormattedPhoneLength, QStringLiteral(" x"));
        return shown;
    }
    return shown.left(kFormattedPhoneLength);
}

QString wf_GetPhoneDigits(const QString& arstr_Value)
{
    QString digits;
    for (QChar c : arstr_Value) {
        if (c >= u'0' && c <= u'9') {
            digits += c;
        }
    }
    return digits;
}

QString wf_FormatDate(const QString& arstr_Date)
{
    switch (arstr_Date.size()) {
    case 0:
        return {};
    case 3:
        return arstr_Date.left(1) + u'/' + arstr_Date.right(2);
    case 4:
        return arstr_Date.left(2) + u'/' + arstr_Date.right(2);
    default:
        return u'/' + arstr_Date;
    }
}

int StoredCardType(const QString& stored)
{
    for (int cardType = 1; cardType <= 5; ++cardType) {
        if (stored == u' ' + QString::number(cardType)) {
            return cardType;
        }
    }
    return 0;
}

bool HasUrlScheme(const QString& url)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d{1,5}(?:[/?#]|$))"));
    return scheme.match(url).hasMatch();
}

QString WebLinkAddress(const QString& url)
{
    const QString address = url.trimmed();
    if (address.isEmpty() || HasUrlScheme(address)) {
        return url;
    }
    return QStringLiteral("http://") + url;
}
