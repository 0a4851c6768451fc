#include "MainCommands.h"

#include "DataControl.h"
#include "Desktop.h"
#include "DocumentWindow.h"
#include "EditDialogs.h"
#include "General.h"
#include "MainWindowInterface.h"
#include "Pictures.h"
#include "Platform.h"
#include "RecordId.h"
#include "Statements.h"
#include "TopMost.h"
#include "frm_About.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolBar>
#include <QUrl>

namespace {

MainCommands::EditDialog& editDialogInUse()
{
    static MainCommands::EditDialog dialog = ShowEditDialog;
    return dialog;
}

void report(const dao::Error& error)
{
    if (error) {
        ShowErrorText(error);
    }
}

} // namespace

MainCommands::MainCommands(MainWindowInterface& main) : m_main(main) {}

void MainCommands::setEditDialog(EditDialog dialog)
{
    editDialogInUse() = dialog ? std::move(dialog) : EditDialog(ShowEditDialog);
}

bool MainCommands::showEditDialog(Category category, QString& recordId)
{
    return editDialogInUse()(category, recordId, m_main.widget());
}

void MainCommands::mnu_EditCreateCredit_Click()
{
    createRecord(Category::Credit);
}

void MainCommands::mnu_EditCreateTravel_Click()
{
    createRecord(Category::Travel);
}

void MainCommands::mnu_EditCreateWeb_Click()
{
    createRecord(Category::Web);
}

void MainCommands::createRecord(Category category)
{
    const tasks::TopMostBracket bracket = m_main.modalBracket();
    QString recordId = QStringLiteral("0");
    showEditDialog(category, recordId);
    m_main.setRecordId(recordId);
    if (const dao::Error error = m_main.wf_SetUpDataControls(category)) {
        m_main.showPage(category);
        ShowErrorText(error);
        return;
    }
    m_main.showPage(category);
    DataControl* view = m_main.dataControl(category);
    // After Cancel the id is still 0: nothing is found and the page keeps its first record.
    report(view->FindFirst(statements::criteriaById(category, recordIdFromText(recordId))));
    m_main.setRecordId(m_main.idBox(category)->text());
}

void MainCommands::mnu_EditCurrent_Click()
{
    const std::optional<Category> shown = m_main.currentCategory();
    if (!shown) {
        return;
    }
    const Category category = *shown;
    DataControl* view = m_main.dataControl(category);
    if (view->Bof() || view->Eof()) {
        return;
    }
    const tasks::TopMostBracket bracket = m_main.modalBracket();
    QString recordId = m_main.idBox(category)->text();
    showEditDialog(category, recordId);
    m_main.setRecordId(recordId);
    if (const dao::Error error = m_main.wf_SetUpDataControls(category)) {
        ShowErrorText(error);
        return;
    }
    report(view->FindFirst(statements::criteriaById(category, recordIdFromText(recordId))));
}

void MainCommands::mnu_EditDelete_Click()
{
    const std::optional<Category> shown = m_main.currentCategory();
    if (!shown) {
        return;
    }
    DataControl* view = m_main.dataControl(*shown);
    if (view->Bof() || view->Eof()) {
        return;
    }
    const QString name = m_main.nameBox(*shown)->text();
    if (platform::ShowMessage(QStringLiteral("Are you sure you want to delete '") + name + QStringLiteral("'?"),
                              platform::MessageKind::Question, QStringLiteral("Corvanta")) != platform::Answer::Yes) {
        return;
    }
    if (const dao::Error error = view->Delete()) {
        ShowErrorText(error);
        return;
    }
    // The record after the deleted one, or the one before it when it was the last; an emptied
    // list has neither, and stays empty.
    report(view->MoveNext());
    if (view->Eof() && view->Recordset()->RecordCount() > 0) {
        report(view->MovePrevious());
    }
}

void MainCommands::mnu_EditPersonal_Click()
{
    const tasks::TopMostBracket bracket = m_main.modalBracket();
    // The personal record has no id; the list's id stays as it was.
    QString noId = QStringLiteral("0");
    showEditDialog(Category::Personal, noId);
    m_main.wf_PersonalInformation();
}

void MainCommands::mnu_HelpAbout_Click()
{
    const tasks::TopMostBracket bracket = m_main.modalBracket();
    frm_About about(m_main.widget());
    platform::ShowModal(&about);
}

void MainCommands::mnu_HelpDOCFile_Click()
{
    openDocument(QStringLiteral("Corvanta.doc"), QStringLiteral("The help file cannot be found."));
}

void MainCommands::mnu_HelpReadme_Click()
{
    openDocument(QStringLiteral("Readme.txt"), QStringLiteral("The readme file cannot be found."));
}

void MainCommands::mnu_HelpLicense_Click()
{
    openDocument(QStringLiteral("License.txt"), QStringLiteral("The license file cannot be found."));
}

void MainCommands::openDocument(const QString& fileName, const QString& missingMessage)
{
    // Beside the program first (a portable copy), then where an installed program keeps them.
    const auto find = [](const QString& name) {
        for (const QString& folder : platform::DocumentDirectories()) {
            const QFileInfo file(folder + QLatin1Char('/') + name);
            if (file.isFile()) {
                return file.absoluteFilePath();
            }
        }
        return QString();
    };
    const QString path = find(fileName);
    if (path.isEmpty()) {
        platform::ShowMessage(missingMessage, platform::MessageKind::Information, QStringLiteral("Corvanta Error"));
        return;
    }
    // The guide comes as a web page too, for desktops where nothing opens a word-processor file.
    QStringList forms{path};
    if (fileName.endsWith(QLatin1String(".doc"))) {
        const QString page = find(QFileInfo(fileName).completeBaseName() + QStringLiteral(".html"));
        if (!page.isEmpty()) {
            forms << page;
        }
    }
    // The desktop's opener reports success even where no program takes the file, so the
    // program asks first whether one would; where none would, it shows the document itself.
    for (const QString& form : forms) {
        if (platform::HasOpenerFor(form) && platform::OpenUrl(QUrl::fromLocalFile(form))) {
            return;
        }
    }
    ShowDocumentWindow(forms.last(), m_main.widget());
}

void MainCommands::tb_ToolBar_ButtonClick(const QString& key)
{
    static const struct
    {
        const char* key;
        const char* menuItem;
    } commands[] = {
        {"Password", "mnu_FileSetPassword"}, {"Personal", "mnu_EditPersonal"}, {"Credit", "mnu_EditCreateCredit"},
        {"Travel", "mnu_EditCreateTravel"},  {"Web", "mnu_EditCreateWeb"},     {"Edit", "mnu_EditCurrent"},
        {"Delete", "mnu_EditDelete"},        {"Exit", "mnu_FileExit"},
    };
    for (const auto& command : commands) {
        if (key == QLatin1String(command.key)) {
            if (QAction* item = m_main.menuItem(command.menuItem)) {
                item->trigger();
            }
            return;
        }
    }
}

void BuildToolbar(QToolBar* toolbar)
{
    static const struct
    {
        const char* key; // nullptr: a separator
        const char* tooltip;
        int picture;
    } buttons[] = {
        {"Password", "Set Password", 2},
        {nullptr, nullptr, 0},
        {"Personal", "Personal Information", 1},
        {nullptr, nullptr, 0},
        {"Credit", "New Credit Card", 7},
        {"Travel", "New Travel Program", 5},
        {"Web", "New Web Account", 6},
        {nullptr, nullptr, 0},
        {"Edit", "Edit Current Item", 3},
        {"Delete", "Delete Current Item", 4},
        {nullptr, nullptr, 0},
        {"Exit", "Exit", 8},
    };
    for (const auto& button : buttons) {
        if (button.key == nullptr) {
            toolbar->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(button.key);
        QAction* action = toolbar->addAction(pictures::ToolbarPicture(button.picture), QString());
        action->setObjectName(QStringLiteral("tb_ToolBar_") + key);
        action->setData(key);
        action->setToolTip(QString::fromLatin1(button.tooltip));
        action->setIconText(QString::fromLatin1(button.tooltip));
    }
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
}
