#include "Windows.h"

#include "PasswordPrompt.h"
#include "frm_About.h"
#include "frm_CreditCards.h"
#include "frm_Find.h"
#include "frm_Password.h"
#include "frm_PasswordReport.h"
#include "frm_PersonalInformation.h"
#include "frm_Splash.h"
#include "frm_TravelPrograms.h"
#include "frm_WebAccounts.h"

#include <QApplication>
#include <QTest>

namespace accesscheck {

namespace {

template <typename T> std::unique_ptr<QWidget> make()
{
    return std::make_unique<T>();
}

const QList<QPair<QString, std::unique_ptr<QWidget> (*)()>> kWindows = {{"Personal", make<frm_PersonalInformation>},
                                                                        {"Credit", make<frm_CreditCards>},
                                                                        {"Travel", make<frm_TravelPrograms>},
                                                                        {"Web", make<frm_WebAccounts>},
                                                                        {"Login", make<frm_Login>},
                                                                        {"Check", make<frm_PasswordCheck>},
                                                                        {"Password", make<frm_Password>},
                                                                        {"About", make<frm_About>},
                                                                        {"Splash", make<frm_Splash>},
                                                                        {"Find", make<frm_Find>},
                                                                        {"Report", make<frm_PasswordReport>}};

} // namespace

QStringList windowKeys()
{
    QStringList keys;
    for (const auto& window : kWindows) {
        keys << window.first;
    }
    return keys;
}

std::unique_ptr<QWidget> makeWindow(const QString& key)
{
    for (const auto& window : kWindows) {
        if (window.first == key) {
            return window.second();
        }
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
