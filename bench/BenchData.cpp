#include "BenchData.h"

#include "FileFormat.h"
#include "Schema.h"
#include "Statements.h"

namespace benchdata {

Account account(int i)
{
    static const char* const types[] = {"Shop", "Bank", "Mail", "News", "Forum", "Travel"};
    Account a;
    a.site = QStringLiteral("Site %1 %2").arg(i, 6, 10, QLatin1Char('0')).arg(QLatin1String(types[i % 6]));
    a.type = QString::fromLatin1(types[i % 6]);
    a.url = QStringLiteral("https://www.site%1.example.org/login").arg(i);
    a.login = QStringLiteral("user%1").arg(i * 7919 % 100000);
    a.password = QStringLiteral("pw-%1-Xq9!z%2").arg(i * 104729 % 1000003).arg(i % 97);
    a.email = QStringLiteral("person%1@example.org").arg(i % 50);
    a.notes = QStringLiteral("Account opened in %1; security question answered with the usual answer; renew card %2.")
                  .arg(1990 + i % 35)
                  .arg(i % 12 + 1);
    return a;
}

dao::Error makeFile(const QString& path, int n, const QString& password, bool cheap)
{
    if (cheap) {
        dao::format::setPasswordKdfForTesting(dao::format::cheapKdf());
    }
    if (dao::Error e = schema::createDataFile(path)) {
        return e;
    }
    dao::DatabasePtr db;
    if (dao::Error e = dao::DBEngine::OpenDatabase(path, true, false, statements::connectFirst(), db)) {
        return e;
    }
    dao::Transaction transaction;
    if (dao::Error e = transaction.begin()) {
        return e;
    }
    dao::RecordsetPtr rs;
    if (dao::Error e = db->OpenRecordset(QStringLiteral("Select * From [Web Accounts]"), rs, dao::dbOpenDynaset)) {
        return e;
    }
    for (int i = 0; i < n; ++i) {
        const Account a = account(i);
        (void)rs->AddNew();
        (void)rs->SetField(QStringLiteral("Web Site"), a.site);
        (void)rs->SetField(QStringLiteral("Site Type"), a.type);
        (void)rs->SetField(QStringLiteral("URL"), a.url);
        (void)rs->SetField(QStringLiteral("Login"), a.login);
        (void)rs->SetField(QStringLiteral("Password"), a.password);
        (void)rs->SetField(QStringLiteral("E-Mail Address"), a.email);
        (void)rs->SetField(QStringLiteral("Notes"), a.notes);
        if (dao::Error e = rs->Update()) {
            return e;
        }
    }
    if (dao::Error e = transaction.commit()) {
        return e;
    }
    if (!password.isEmpty()) {
        if (dao::Error e = db->NewPassword(QString(), password)) {
            return e;
        }
    }
    return {};
}

dao::Error addCardsAndPrograms(const QString& path, int n)
{
    dao::DatabasePtr db;
    if (dao::Error e = dao::DBEngine::OpenDatabase(path, false, false, statements::connectFirst(), db)) {
        return e;
    }
    dao::Transaction transaction;
    if (dao::Error e = transaction.begin()) {
        return e;
    }
    dao::RecordsetPtr cards;
    dao::RecordsetPtr programs;
    if (dao::Error e = db->OpenRecordset(QStringLiteral("Select * From [Credit Cards]"), cards, dao::dbOpenDynaset)) {
        return e;
    }
    if (dao::Error e =
            db->OpenRecordset(QStringLiteral("Select * From [Travel Programs]"), programs, dao::dbOpenDynaset)) {
        return e;
    }
    static const char* const cardTypes[] = {"Visa", "MasterCard", "American Express", "Discover"};
    for (int i = 0; i < n; ++i) {
        const QString holder = QStringLiteral("Holder %1").arg(i % 500);
        (void)cards->AddNew();
        (void)cards->SetField(QStringLiteral("Credit Card"), QStringLiteral("Card %1").arg(i, 6, 10, QLatin1Char('0')));
        (void)cards->SetField(QStringLiteral("Card Type"), QString::fromLatin1(cardTypes[i % 4]));
        (void)cards->SetField(QStringLiteral("Account Name"), holder);
        (void)cards->SetField(QStringLiteral("Account Number"), QStringLiteral("4%1").arg(i, 15, 10, QLatin1Char('0')));
        (void)cards->SetField(QStringLiteral("Expiration Date"),
                              QStringLiteral("%1%2").arg(i % 12 + 1, 2, 10, QLatin1Char('0')).arg(30));
        (void)cards->SetField(QStringLiteral("Phone Number"), QStringLiteral("8005551234"));
        (void)programs->AddNew();
        (void)programs->SetField(QStringLiteral("Travel Program"),
                                 QStringLiteral("Program %1").arg(i, 6, 10, QLatin1Char('0')));
        (void)programs->SetField(QStringLiteral("Program Type"),
                                 i % 2 ? QStringLiteral("Airline") : QStringLiteral("Hotel"));
        (void)programs->SetField(QStringLiteral("Account Name"), holder);
        (void)programs->SetField(QStringLiteral("Account Number"), QString::number(100000 + i));
        (void)programs->SetField(QStringLiteral("PIN Number"), QString::number(1000 + i % 9000));
        (void)programs->SetField(QStringLiteral("Web Account"), account(i).site);
        if (dao::Error e = cards->Update()) {
            return e;
        }
        if (dao::Error e = programs->Update()) {
            return e;
        }
    }
    return transaction.commit();
}

} // namespace benchdata
