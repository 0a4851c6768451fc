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

static_assert(crypto_generichash_KEYBYTES == 32, "the report's key is a generic-hash key");

ReportReading::ReportReading()
{
    randombytes_buf(m_key, sizeof m_key);
}

ReportReading::~ReportReading()
{
    sodium_memzero(m_key, sizeof m_key);
}

std::vector<RowSource> ReportReading::sources()
{
    return {
        {QStringLiteral(
             "SELECT [Web Site ID], [Web Site], [Login], [Password] FROM [Web Accounts] ORDER BY [Web Site]"),
         [this](const dao::Recordset& row) {
             WebAccountFacts account{{Page::Web, row.Value(QStringLiteral("Web Site ID")).toLongLong(),
                                      row.Value(QStringLiteral("Web Site")).toString(),
                                      row.Value(QStringLiteral("Login")).toString()},
                                     {},
                                     0};
             const QByteArray password = row.Value(QStringLiteral("Password")).toString().toUtf8();
             account.length = static_cast<int>(QString::fromUtf8(password).size());
             if (!password.isEmpty()) {
                 account.fingerprint.resize(crypto_generichash_BYTES);
                 crypto_generichash(reinterpret_cast<unsigned char*>(account.fingerprint.data()),
                                    crypto_generichash_BYTES, reinterpret_cast<const unsigned char*>(password.data()),
                                    static_cast<unsigned long long>(password.size()), m_key, sizeof m_key);
             }
             m_accounts.append(account);
         }},
        {QStringLiteral("SELECT [Credit Card ID], [Credit Card], [Account Name], [Expiration Date] FROM [Credit Cards] "
                        "ORDER BY [Credit Card]"),
         [this](const dao::Recordset& row) {
             m_cards.append({{Page::Credit, row.Value(QStringLiteral("Credit Card ID")).toLongLong(),
                              row.Value(QStringLiteral("Credit Card")).toString(),
                              row.Value(QStringLiteral("Account Name")).toString()},
                             row.Value(QStringLiteral("Expiration Date")).toString()});
         }},
    };
}

QList<Finding> ReportReading::findings(const QDate& today) const
{
    return webFindings(m_accounts) + cardFindings(m_cards, today);
}

dao::Error passwordReport(dao::Database& database, const QDate& today, QList<Finding>& out)
{
    out.clear();
    ReportReading reading;
    const dao::Error error = readRows(database, reading.sources());
    if (!error) {
        out = reading.findings(today);
    }
    return error;
}

} // namespace recordtools
