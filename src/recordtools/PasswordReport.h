#pragma once

#include "RowReading.h"
#include "SearchIndex.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// What deserves a look: web accounts whose password is shared with another account, empty, or
// short, and credit cards that expire soon or have expired. Worked out in memory from the data
// file each time it is asked for, and never written anywhere.
namespace recordtools {

constexpr int kShortPassword = 12; // characters; shorter is short
constexpr int kExpiringSoonDays = 60;

struct Finding
{
    Record record;
    QString reason;
};

// One web account as the report sees it: its password only as a keyed fingerprint and a length.
struct WebAccountFacts
{
    Record record;
    QByteArray fingerprint; // equal for equal passwords, empty for none
    int length = 0;
};
struct CardFacts
{
    Record record;
    QString expiration; // as stored: MYY or MMYY
};

// The findings, web accounts first (in the order given), then cards. A web account can have two
// reasons (shared and short); each gets its own row.
QList<Finding> webFindings(const QList<WebAccountFacts>& accounts);
QList<Finding> cardFindings(const QList<CardFacts>& cards, const QDate& today);
// The last day on which a card of this stored expiration date is valid; invalid when the text
// is not a month and a two-digit year.
QDate lastValidDay(const QString& expiration);

// What the report reads, row by row: passwords only as fingerprints under a key made for this
// reading, wiped with it.
class ReportReading
{
public:
    ReportReading();
    ~ReportReading();
    ReportReading(const ReportReading&) = delete;
    ReportReading& operator=(const ReportReading&) = delete;

    std::vector<RowSource> sources();
    QList<Finding> findings(const QDate& today) const;

private:
    unsigned char m_key[32];
    QList<WebAccountFacts> m_accounts;
    QList<CardFacts> m_cards;
};

// Reads what the report needs from the data file and works out its findings. Passwords are read
// one at a time and kept only as fingerprints under a key made for this report.
dao::Error passwordReport(dao::Database& database, const QDate& today, QList<Finding>& out);

} // namespace recordtools
