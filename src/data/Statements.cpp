#include "Statements.h"

namespace statements {

QString connectFirst()
{
    return QStringLiteral("MS Access;PWD=''");
}

QString connectWith(const QString& password)
{
    return QStringLiteral("MS Access;PWD=") + password;
}

QString connectBeside()
{
    return connectWith(QString());
}

QString compactConnect(const QString& password)
{
    return QStringLiteral(";PWD=") + password;
}

QString personalCheck()
{
    return QStringLiteral("Select * From [Personal Information]");
}

QString personalFrame()
{
    return QStringLiteral("Select * From [Personal Information];");
}

QString listView(Category kind)
{
    const CategoryInfo& info = categories::info(kind);
    return QStringLiteral("Select * From ") + info.table + QStringLiteral(" Order By ") + info.nameField;
}

QString loadRecord(Category kind, qint64 id)
{
    if (kind == Category::Personal) {
        return personalCheck();
    }
    const CategoryInfo& info = categories::info(kind);
    return QStringLiteral("Select * From ") + info.table + QStringLiteral(" Where ") + info.keyField +
           QStringLiteral(" = ") + QString::number(id) + QLatin1Char(';');
}

QString saveRecord(Category kind, qint64 id)
{
    const CategoryInfo& info = categories::info(kind);
    QString sql = QStringLiteral("Select * From ") + info.table;
    if (kind != Category::Personal && id > 0) {
        sql +=
            QStringLiteral("Where ") + info.keyField + QStringLiteral(" = ") + QString::number(id) + QLatin1Char(';');
    }
    return sql;
}

QString wholeTable(Category kind)
{
    return QStringLiteral("Select * From ") + categories::info(kind).table;
}

LookupList lookupList(const QString& kind)
{
    // ORDER BY closes a compound statement here, so the order of the joined rows is asked for
    // at the end; a digit-first login is left out with GLOB, whose negated class is "[^...]".
    if (kind == QLatin1String("E-Mail Address")) {
        return {QStringLiteral("[E-Mail Address]"),
                QStringLiteral("SELECT [Web Accounts].[E-Mail Address] From [Web Accounts] "
                               "Where [E-Mail Address] Is Not Null And [E-Mail Address] <> '' "
                               "UNION SELECT [E-Mail Address] FROM [Personal Information] "
                               "WHERE [E-Mail Address] Is Not Null And [E-Mail Address] <> '' "
                               "ORDER BY 1;")};
    }
    if (kind == QLatin1String("Web Account")) {
        return {QStringLiteral("[Web Site]"),
                QStringLiteral("SELECT [Web Accounts].[Web Site], [Web Accounts].[Web Site ID] "
                               "From [Web Accounts] "
                               "ORDER BY [Web Accounts].[Web Site];")};
    }
    if (kind == QLatin1String("Program Type")) {
        return {QStringLiteral("[Program Type]"),
                QStringLiteral("SELECT DISTINCT [Program Type] "
                               "From [Travel Programs] "
                               "Where [Program Type] Is Not Null And [Program Type] <> '' "
                               "ORDER BY [Program Type];")};
    }
    if (kind == QLatin1String("Names")) {
        return {
            QStringLiteral("[Account Name]"),
            QStringLiteral("SELECT DISTINCT [Account Name] "
                           "From [Travel Programs] "
                           "Where [Account Name] Is Not Null And [Account Name] <> '' "
                           "UNION SELECT DISTINCT [Credit Cards].[Account Name] "
                           "From [Credit Cards] "
                           "Where [Credit Cards].[Account Name] Is Not Null And [Credit Cards].[Account Name] <> '' "
                           "UNION SELECT DISTINCT [Name] FROM [Personal Information] "
                           "WHERE [Name] Is Not Null And [Name] <> '' "
                           "ORDER BY 1;")};
    }
    if (kind == QLatin1String("Login")) {
        return {QStringLiteral("[Login]"),
                QStringLiteral("SELECT DISTINCT [Web Accounts].Login "
                               "From [Web Accounts] "
                               "Where ((([Web Accounts].Login) Is Not Null And ([Web Accounts].Login) <> '' "
                               "And ([Web Accounts].Login) GLOB '[^0-9]*')) "
                               "ORDER BY [Web Accounts].Login;")};
    }
    if (kind == QLatin1String("Password")) {
        return {QStringLiteral("[Password]"),
                QStringLiteral("SELECT DISTINCT [Web Accounts].Password "
                               "From [Web Accounts] "
                               "Where ((([Web Accounts].Password) Is Not Null And ([Web Accounts].Password) <> '')) "
                               "ORDER BY [Web Accounts].Password;")};
    }
    if (kind == QLatin1String("Site Type")) {
        return {QStringLiteral("[Site Type]"),
                QStringLiteral("SELECT [Web Accounts].[Site Type] "
                               "From [Web Accounts] "
                               "Where [Site Type] Is Not Null And [Site Type] <> '' "
                               "UNION SELECT [Program Type] FROM [Travel Programs] "
                               "WHERE [Program Type] Is Not Null And [Program Type] <> '' "
                               "ORDER BY 1;")};
    }
    if (kind == QLatin1String("States")) {
        return {QStringLiteral("[State Code]"), QStringLiteral("SELECT *From [State Codes]")};
    }
    return {};
}

QString recordCount()
{
    return QStringLiteral("SELECT (SELECT count(*) FROM [Credit Cards]) + (SELECT count(*) FROM [Travel Programs]) + "
                          "(SELECT count(*) FROM [Web Accounts]) AS [Records]");
}

QString criteriaById(Category kind, qint64 id)
{
    return categories::info(kind).keyField + QStringLiteral(" = ") + QString::number(id);
}

QString criteriaByWebSite(const QString& name)
{
    return QStringLiteral("[Web Site] = '") + name + QLatin1Char('\'');
}

} // namespace statements
