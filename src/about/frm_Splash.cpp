#include "frm_Splash.h"

#include "ui_frm_Splash.h"

#include "AboutTexts.h"
#include "Accessibility.h"
#include "FitLabels.h"
#include "General.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

frm_Splash::frm_Splash(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::frm_Splash>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);

    about::ShowProgramIcon(ui->pic_Icon);
    about::ShowProgramLogo(ui->pic_Logo);
    ui->lbl_Company->setText(about::CompanyLine());
    ui->lbl_Copyright->setText(about::CopyrightLine());
    ui->lbl_Warning->setText(about::SplashNotice());
    ui->pic_Icon->setAccessibleName(about::ProgramTitle());
    ui->pic_Logo->setAccessibleName(about::ProgramTitle());
    accessibility::nameControls(this);

    // The version sits against the right edge and grows to the left with its text.
    const int right = ui->lbl_Version->geometry().right();
    ui->lbl_Version->setText(gstr_Version);
    ui->lbl_Version->adjustSize();
    ui->lbl_Version->move(right - ui->lbl_Version->width() + 1, ui->lbl_Version->y());
    about::FitLabels(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    m_loadTime.start();
}

frm_Splash::~frm_Splash() = default;

void frm_Splash::showAndPaint()
{
    show();
    raise();
    repaint();
    // Let the window system map the window; the user's input waits for the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frm_Splash::unload()
{
    waitForMinimumTime();
    close();
}

void frm_Splash::closeEvent(QCloseEvent* event)
{
    waitForMinimumTime();
    event->accept();
}

void frm_Splash::waitForMinimumTime()
{
    // A nested loop that sleeps until the deadline instead of polling: events are handled as
    // they come and the processor stays idle. A precise timer, because a coarse one may fire a
    // little early; the loop covers any early wake-up all the same.
    while (m_loadTime.elapsed() < kMinimumMilliseconds) {
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(kMinimumMilliseconds - m_loadTime.elapsed()), Qt::PreciseTimer,
                           &loop, &QEventLoop::quit);
        loop.exec();
    }
}
