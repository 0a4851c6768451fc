#include "DisplayFormat.h"

namespace {

constexpr qsizetype kPhoneDigits = 10;
constexpr qsizetype kFormattedPhoneLength = 14; // "(800) 555-1234"

} // namespace

QString wf_FormatPhone(const QString& arstr_Phone, bool arbool_IncludeExtension)
{
    QString digits = wf_GetPhoneDigits(arstr_Phone);
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

int CardTypePictureIndex(const QString& cardType)
{
    for (int index = 0; index < 5; ++index) {
        if (cardType == u' ' + QString::number(index + 1)) {
            return index;
        }
    }
    return kNoCardPicture;
}

QString WebLinkAddress(const QString& url)
{
    const QString scheme = url.left(4);
    if (!scheme.isEmpty() && scheme != QLatin1String("http")) {
        return QStringLiteral("http://") + url;
    }
    return url;
}
