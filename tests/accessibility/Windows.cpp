#include "Windows.h"

#include "frm_About.h"
#include "frm_CreditCards.h"
#include "frm_Login.h"
#include "frm_Password.h"
#include "frm_PasswordCheck.h"
#include "frm_PersonalInformation.h"
#include "frm_Splash.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

#include <QApplication>
#include <QTest>

namespace accesscheck {

QStringList windowKeys()
{
    return {QStringLiteral("Personal"), QStringLiteral("Credit"), QStringLiteral("Travel"),
            QStringLiteral("Web"),      QStringLiteral("Login"),  QStringLiteral("Check"),
            QStringLiteral("Password"), QStringLiteral("About"),  QStringLiteral("Splash")};
}

std::unique_ptr<QWidget> makeWindow(const QString& key)
{
    if (key == QLatin1String("Personal")) {
        return std::make_unique<frm_PersonalInformation>();
    }
    if (key == QLatin1String("Credit")) {
        return std::make_unique<frm_CreditCards>();
    }
    if (key == QLatin1String("Travel")) {
        return std::make_unique<frm_TravelPrograms>();
    }
    if (key == QLatin1String("Web")) {
        return std::make_unique<frm_WebAccounts>();
    }
    if (key == QLatin1String("Login")) {
        return std::make_unique<frm_Login>();
    }
    if (key == QLatin1String("Check")) {
        return std::make_unique<frm_PasswordCheck>();
    }
    if (key == QLatin1String("Password")) {
        return std::make_unique<frm_Password>();
    }
    if (key == QLatin1String("About")) {
        return std::make_unique<frm_About>();
    }
    if (key == QLatin1String("Splash")) {
        return std::make_unique<frm_Splash>();
    }
    return nullptr;
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace accesscheck
