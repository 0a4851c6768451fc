#include "frm_About.h"

#include "ui_frm_About.h"

#include "AboutTexts.h"
#include "Accessibility.h"
#include "FitLabels.h"
#include "General.h"
#include "Platform.h"
#include "SystemInfo.h"

namespace {

QString linkText(const QUrl& target, const QString& shown)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(target.toString(QUrl::FullyEncoded).toHtmlEscaped(), shown.toHtmlEscaped());
}

} // namespace

frm_About::frm_About(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frm_About>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(about::ProgramIcon());

    about::ShowProgramIcon(ui->picIcon);
    ui->lbl_Title->setText(about::ProgramTitle());
    ui->lbl_Version->setText(gstr_Version);
    ui->lbl_Copyright->setText(about::CopyrightLine());
    ui->lbl_Company->setText(about::CompanyLine());
    ui->lbl_Disclaimer->setText(about::AboutNotice());

    // The links open through the platform, so that the desktop's handler is asked, not the label.
    for (QLabel* link : {ui->hl_WebSite, ui->hl_EMailAddress}) {
        link->setTextFormat(Qt::RichText);
        link->setOpenExternalLinks(false);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        link->setCursor(Qt::PointingHandCursor);
        connect(link, &QLabel::linkActivated, this, [](const QString& target) { platform::OpenUrl(QUrl(target)); });
    }
    ui->hl_WebSite->setText(linkText(about::WebSiteUrl(), about::WebSiteText()));
    ui->hl_EMailAddress->setText(linkText(about::EMailUrl(), about::EMailAddress()));
    ui->picIcon->setAccessibleName(about::ProgramTitle());
    accessibility::nameControls(this);
    // Whatever the fonts of this desktop, no text is cut off; the box keeps the size that holds it.
    about::FitLabels(this);

    // OK is both the default (Enter) and the cancel button (Esc closes a dialog through reject).
    ui->cb_OK->setDefault(true);
    ui->cb_OK->setFocus();
    connect(ui->cb_OK, &QPushButton::clicked, this, &frm_About::cb_OK_Click);
    connect(ui->cb_SysInfo, &QPushButton::clicked, this, &frm_About::cb_SysInfo_Click);
}

frm_About::~frm_About() = default;

void frm_About::cb_OK_Click()
{
    accept();
}

void frm_About::cb_SysInfo_Click()
{
    wf_StartSysInfo();
}

void frm_About::wf_StartSysInfo()
{
    if (!platform::StartSystemInfo()) {
        platform::ShowMessage(QStringLiteral("System Information is unavailable at this time."),
                              platform::MessageKind::Information, QStringLiteral("Corvanta Error"));
    }
}
