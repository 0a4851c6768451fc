#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QUrl>

class QLabel;

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

QIcon ProgramIcon();
// Put the program icon or the logo in a picture label, drawn at the label's size and pixel ratio.
void ShowProgramIcon(QLabel* label);
void ShowProgramLogo(QLabel* label);

} // namespace about
