#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QUrl>

// What the splash window and the About box say about the program, in one place.
namespace about {

QString ProgramTitle();
QString CompanyLine();
QString CopyrightLine();
// The freeware notices; both begin with " Warning: ".
QString SplashNotice();
QString AboutNotice();
QString WebSiteText();
QUrl WebSiteUrl();
QString EMailAddress();
// The "mailto:" link of the support address with the subject "Corvanta Comment".
QUrl EMailUrl();

// The program's icon and logo (the logo is 341 by 101 pixels).
QIcon ProgramIcon();
QPixmap ProgramIconPixmap();
QPixmap ProgramLogo();

} // namespace about
