#include "Schema.h"

#include "Statements.h"

#include <QFile>

namespace schema {

const QStringList& stateCodes()
{
    static const QStringList codes = [] {
        QStringList list{QStringLiteral("AK"), QStringLiteral("AL"), QStringLiteral("AR"), QStringLiteral("AS"),
                         QStringLiteral("AZ"), QStringLiteral("CA"), QStringLiteral("CO"), QStringLiteral("CT"),
                         QStringLiteral("DC"), QStringLiteral("DE"), QStringLiteral("FL"), QStringLiteral("FM"),
                         QStringLiteral("GA"), QStringLiteral("GU"), QStringLiteral("HI"), QStringLiteral("IA"),
                         QStringLiteral("ID"), QStringLiteral("IL"), QStringLiteral("IN"), QStringLiteral("KS"),
                         QStringLiteral("KY"), QStringLiteral("LA"), QStringLiteral("MA"), QStringLiteral("MD"),
                         QStringLiteral("ME"), QStringLiteral("MH"), QStringLiteral("MI"), QStringLiteral("MN"),
                         QStringLiteral("MO"), QStringLiteral("MP"), QStringLiteral("MS"), QStringLiteral("MT"),
                         QStringLiteral("NC"), QStringLiteral("ND"), QStringLiteral("NE"), QStringLiteral("NH"),
                         QStringLiteral("NJ"), QStringLiteral("NM"), QStringLiteral("NV"), QStringLiteral("NY"),
                         QStringLiteral("OH"), QStringLiteral("OK"), QStringLiteral("OR"), QStringLiteral("PA"),
                         QStringLiteral("PR"), QStringLiteral("PW"), QStringLiteral("RI"), QStringLiteral("SC"),
                         QStringLiteral("SD"), QStringLiteral("TN"), QStringLiteral("TX"), QStringLiteral("UM"),
                         QStringLiteral("UT"), QStringLiteral("VA"), QStringLiteral("VI"), QStringLiteral("VT"),
                         QStringLiteral("WA"), QStringLiteral("WI"), QStringLiteral("WV"), QStringLiteral("WY")};
        list.sort();
        return list;
    }();
    return codes;
}

dao::Error createTables(dao::Database& db)
{
    // Text compares and sorts without regard to case; counter keys grow and are never reused.
    static const char* const ddl[] = {
        "CREATE TABLE [Personal Information] ("
        "[Personal Information ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Name] TEXT COLLATE NOCASE, "
        "[Address] TEXT COLLATE NOCASE, [City] TEXT COLLATE NOCASE, [State] TEXT COLLATE NOCASE, "
        "[Zip Code] TEXT COLLATE NOCASE, [Phone Number] TEXT COLLATE NOCASE, [E-Mail Address] TEXT COLLATE NOCASE)",
        "CREATE TABLE [Credit Cards] ("
        "[Credit Card ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Credit Card] TEXT COLLATE NOCASE, "
        "[Card Type] TEXT COLLATE NOCASE, [Account Name] TEXT COLLATE NOCASE, [Account Number] TEXT COLLATE NOCASE, "
        "[Expiration Date] TEXT COLLATE NOCASE, [Phone Number] TEXT COLLATE NOCASE, [Notes] TEXT COLLATE NOCASE)",
        "CREATE TABLE [Travel Programs] ("
        "[Program ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Travel Program] TEXT COLLATE NOCASE, "
        "[Program Type] TEXT COLLATE NOCASE, [Account Name] TEXT COLLATE NOCASE, "
        "[Account Number] TEXT COLLATE NOCASE, [PIN Number] TEXT COLLATE NOCASE, [Web Account] TEXT COLLATE NOCASE, "
        "[Phone Number] TEXT COLLATE NOCASE, [Notes] TEXT COLLATE NOCASE)",
        "CREATE TABLE [Web Accounts] ("
        "[Web Site ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Web Site] TEXT COLLATE NOCASE, "
        "[Site Type] TEXT COLLATE NOCASE, [URL] TEXT COLLATE NOCASE, [Login] TEXT COLLATE NOCASE, "
        "[Password] TEXT COLLATE NOCASE, [E-Mail Address] TEXT COLLATE NOCASE, [Notes] TEXT COLLATE NOCASE)",
        "CREATE TABLE [State Codes] ([State Code] TEXT COLLATE NOCASE)",
        // The views read their tables in name order; the indexes spare them a sort.
        "CREATE INDEX [Credit Cards by name] ON [Credit Cards] ([Credit Card])",
        "CREATE INDEX [Travel Programs by name] ON [Travel Programs] ([Travel Program])",
        "CREATE INDEX [Web Accounts by name] ON [Web Accounts] ([Web Site])",
    };
    dao::Transaction transaction;
    if (dao::Error e = transaction.begin()) {
        return e;
    }
    for (const char* statement : ddl) {
        if (dao::Error e = db.Execute(QString::fromLatin1(statement))) {
            return e;
        }
    }
    QStringList values;
    for (const QString& code : stateCodes()) {
        values << QStringLiteral("('%1')").arg(code); // fixed two-letter codes, never user text
    }
    if (dao::Error e = db.Execute(QStringLiteral("INSERT INTO [State Codes] ([State Code]) VALUES ") +
                                  values.join(QLatin1Char(',')))) {
        return e;
    }
    return transaction.commit(dao::dbForceOSFlush);
}

dao::Error createDataFile(const QString& path)
{
    dao::DatabasePtr db;
    if (dao::Error e = dao::DBEngine::CreateDatabase(path, statements::connectFirst(), db)) {
        return e;
    }
    if (dao::Error e = createTables(*db)) {
        db->Close();
        QFile::remove(path);
        return e;
    }
    db->Close();
    return {};
}

} // namespace schema
