#include "AboutTexts.h"

#include "Pictures.h"

#include <QLabel>
#include <QUrlQuery>

namespace about {

QString ProgramTitle()
{
    return QStringLiteral("Corvanta");
}

QString CompanyLine()
{
    return QStringLiteral("Corvanta Developers");
}

QString CopyrightLine()
{
    return QStringLiteral("Copyright \u00A9 2024 Corvanta Developers");
}

QString SplashNotice()
{
    return QStringLiteral(" Warning: This program is freeware. It is provided as is, without warranty of any kind, "
                          "and you use it at your own risk. You may copy it and give it away, but not sell it.");
}

QString AboutNotice()
{
    return QStringLiteral(" Warning: This program is freeware and comes without warranty of any kind. You may "
                          "copy it and give it away, but not sell it.");
}

QString WebSiteText()
{
    return QStringLiteral("www.example.org/corvanta");
}

QUrl WebSiteUrl()
{
    return QUrl(QStringLiteral("https://www.example.org/corvanta"));
}

QString EMailAddress()
{
    return QStringLiteral("corvanta@example.org");
}

QUrl EMailUrl()
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(EMailAddress());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Corvanta Comment"));
    url.setQuery(query);
    return url;
}

QIcon ProgramIcon()
{
    return pictures::ProgramIcon();
}

void ShowProgramIcon(QLabel* label)
{
    label->setPixmap(ProgramIcon().pixmap(label->size(), label->devicePixelRatioF()));
}

void ShowProgramLogo(QLabel* label)
{
    label->setPixmap(pictures::Logo().pixmap(label->size(), label->devicePixelRatioF()));
}

} // namespace about
