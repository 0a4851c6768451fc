#include "PasswordReport.h"

#include <QHash>

#include <sodium.h>

namespace recordtools {

namespace {

QString otherAccounts(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 other account") : QStringLiteral("%1 other accounts").arg(n);
}

} // namespace

QList<Finding> webFindings(const QList<WebAccountFacts>& accounts)
{
    QHash<QByteArray, qsizetype> uses;
    for (const WebAccountFacts& account : accounts) {
        if (!account.fingerprint.isEmpty()) {
            ++uses[account.fingerprint];
        }
    }
    QList<Finding> findings;
    for (const WebAccountFacts& account : accounts) {
        if (account.length == 0) {
            findings.append({account.record, QStringLiteral("no password")});
            continue;
        }
        const qsizetype others = uses.value(account.fingerprint) - 1;
        if (others > 0) {
            findings.append({account.record, QStringLiteral("password shared with ") + otherAccounts(others)});
        }
        if (account.length < kShortPassword) {
            findings.append({account.record, QStringLiteral("short password (%1 characters)").arg(account.length)});
        }
    }
    return findings;
}

QDate lastValidDay(const QString& expiration)
{
    const QString text = expiration.trimmed();
    bool digits = false;
    text.toInt(&digits);
    if (!digits || (text.size() != 3 && text.size() != 4)) {
        return {};
    }
    const int month = text.left(text.size() - 2).toInt();
    const int year = 2000 + text.right(2).toInt();
    if (month < 1 || month > 12) {
        return {};
    }
    const QDate first(year, month, 1);
    return first.addDays(first.daysInMonth() - 1);
}

QList<Finding> cardFindings(const QList<CardFacts>& cards, const QDate& today)
{
    QList<Finding> findings;
    for (const CardFacts& card : cards) {
        const QDate last = lastValidDay(card.expiration);
        if (!last.isValid()) {
            continue;
        }
        const qint64 days = today.daysTo(last);
        if (days < 0) {
            findings.append({card.record, QStringLiteral("expired")});
        } else if (days == 0) {
            findings.append({card.record, QStringLiteral("expires today")});
        } else if (days <= kExpiringSoonDays) {
            findings.append({card.record, days == 1 ? QStringLiteral("expires tomorrow")
                                                    : QStringLiteral("expires in %1 days").arg(days)});
        }
    }
    return findings;
}

dao::Error passwordReport(dao::Database& database, const QDate& today, QList<Finding>& out)
{
    out.clear();
    unsigned char key[crypto_generichash_KEYBYTES];
    randombytes_buf(key, sizeof key);

    QList<WebAccountFacts> accounts;
    dao::RecordsetPtr rows;
    dao::Error error = database.OpenRecordset(
        QStringLiteral("SELECT [Web Site ID], [Web Site], [Login], [Password] FROM [Web Accounts] ORDER BY [Web Site]"),
        rows, dao::dbOpenSnapshot);
    if (!error && !rows->Bof()) {
        error = rows->MoveFirst();
    }
    while (!error && !rows->Eof()) {
        WebAccountFacts account{{Page::Web, rows->Value(QStringLiteral("Web Site ID")).toLongLong(),
                                 rows->Value(QStringLiteral("Web Site")).toString(),
                                 rows->Value(QStringLiteral("Login")).toString()},
                                {},
                                0};
        {
            const QByteArray password = rows->Value(QStringLiteral("Password")).toString().toUtf8();
            account.length = static_cast<int>(QString::fromUtf8(password).size());
            if (!password.isEmpty()) {
                account.fingerprint.resize(crypto_generichash_BYTES);
                crypto_generichash(reinterpret_cast<unsigned char*>(account.fingerprint.data()),
                                   crypto_generichash_BYTES, reinterpret_cast<const unsigned char*>(password.data()),
                                   static_cast<unsigned long long>(password.size()), key, sizeof key);
            }
        }
        accounts.append(account);
        error = rows->MoveNext();
    }
    if (rows) {
        rows->Close();
    }
    QList<CardFacts> cards;
    if (!error) {
        error = database.OpenRecordset(QStringLiteral("SELECT [Credit Card ID], [Credit Card], [Account Name], "
                                                      "[Expiration Date] FROM [Credit Cards] ORDER BY [Credit Card]"),
                                       rows, dao::dbOpenSnapshot);
        if (!error && !rows->Bof()) {
            error = rows->MoveFirst();
        }
        while (!error && !rows->Eof()) {
            cards.append({{Page::Credit, rows->Value(QStringLiteral("Credit Card ID")).toLongLong(),
                           rows->Value(QStringLiteral("Credit Card")).toString(),
                           rows->Value(QStringLiteral("Account Name")).toString()},
                          rows->Value(QStringLiteral("Expiration Date")).toString()});
            error = rows->MoveNext();
        }
        if (rows) {
            rows->Close();
        }
    }
    sodium_memzero(key, sizeof key);
    if (error) {
        return error;
    }
    out = webFindings(accounts) + cardFindings(cards, today);
    return {};
}

} // namespace recordtools
