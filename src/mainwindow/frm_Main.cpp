#include "frm_Main.h"

#include "ui_frm_Main.h"

#include "AboutTexts.h"
#include "Accessibility.h"
#include "AwayLock.h"
#include "DataControl.h"
#include "DisplayFields.h"
#include "DisplayFormat.h"
#include "FileCommands.h"
#include "General.h"
#include "HoverHelp.h"
#include "MainCommands.h"
#include "MainFields.h"
#include "Pictures.h"
#include "Platform.h"
#include "RecordId.h"
#include "RecordTools.h"
#include "Statements.h"
#include "TopMost.h"
#include "TrayControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace {

std::function<void()>& endProgram()
{
    static std::function<void()> end = [] { QCoreApplication::exit(0); };
    return end;
}

bool selected(std::optional<Category> only, Category kind)
{
    return !only || *only == kind;
}

// The field of an area that shows the given record field.
QLineEdit* fieldShowing(const Ui::frm_Main& ui, Category kind, const QString& bracketed)
{
    for (const MainField& field : mainArea(kind).fields) {
        if (field.field != nullptr && bracketed == QLatin1Char('[') + QLatin1String(field.field) + QLatin1Char(']')) {
            return ui.*field.control;
        }
    }
    return nullptr;
}

} // namespace

frm_Main::frm_Main(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::frm_Main>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(about::ProgramIcon());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->menubar->setNativeMenuBar(false);
    nameMenuSeparators();
    BuildToolbar(ui->tb_ToolBar);

    m_commands = std::make_unique<MainCommands>(*this);
    m_fileCommands = std::make_unique<FileCommands>(*this);
    m_displayFields = new DisplayFields(this);
    bindFields();
    setUpDisplayFields();
    connectMenus();
    m_recordTools = new RecordTools(*this);

    connect(ui->sle_CreditCardType, &QLineEdit::textChanged, this, &frm_Main::sle_CreditCardType_Change);
    connect(ui->sle_CreditExpirationDateData, &QLineEdit::textChanged, this,
            &frm_Main::sle_CreditExpirationDateData_Change);
    connect(ui->sle_CreditPhoneNumberData, &QLineEdit::textChanged, this, &frm_Main::sle_CreditPhoneNumberData_Change);
    connect(ui->sle_PhoneNumber, &QLineEdit::textChanged, this, &frm_Main::sle_PhoneNumber_Change);
    connect(ui->sle_TravelPhoneNumber, &QLineEdit::textChanged, this, &frm_Main::sle_TravelPhoneNumber_Change);
    connect(ui->sle_WebURL, &QLineEdit::textChanged, this, &frm_Main::sle_WebURL_Change);
    connect(ui->tb_ToolBar, &QToolBar::actionTriggered, this,
            [this](QAction* button) { m_commands->tb_ToolBar_ButtonClick(button->data().toString()); });

    Form_Load();
}

frm_Main::~frm_Main()
{
    // The views let go of the file before the window's parts go.
    wf_ResetDataControls();
}

void frm_Main::setEndProgram(std::function<void()> end)
{
    endProgram() = end ? std::move(end) : [] { QCoreApplication::exit(0); };
}

void frm_Main::nameMenuSeparators()
{
    // Separators are made by the form without names; they get the names of the menu's lines.
    const QList<QPair<QMenu*, QString>> menus{{ui->mnu_File, QStringLiteral("mnu_FileBar")},
                                              {ui->mnu_Edit, QStringLiteral("mnu_EditBar")},
                                              {ui->mnu_Help, QStringLiteral("mnu_HelpBar")},
                                              {ui->mnu_SysTray, QStringLiteral("mnu_SysTrayBar")}};
    for (const auto& [menu, prefix] : menus) {
        int number = 0;
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) {
                item->setObjectName(prefix + QString::number(number++));
            }
        }
    }
    // The form cannot hold a caption of blanks only; the blank keeps <Vanish> apart from Help.
    ui->mnu_Empty1->setText(QString(11, QLatin1Char(' ')));
    ui->mnu_SysTray->menuAction()->setVisible(false);
    ui->mnu_SysTray->menuAction()->setEnabled(false);
}

void frm_Main::bindFields()
{
    for (const MainArea& area : mainAreas()) {
        if (area.view == nullptr) {
            continue;
        }
        DataControl* view = ui.get()->*area.view;
        for (const MainField& field : area.fields) {
            if (field.field != nullptr) {
                view->bind(ui.get()->*field.control, QString::fromLatin1(field.field));
            }
        }
        view->bind(ui.get()->*area.notes, QStringLiteral("Notes"));
    }
}

void frm_Main::setUpDisplayFields()
{
    for (const MainArea& area : mainAreas()) {
        for (const MainField& field : area.fields) {
            if (field.tracker != nullptr) {
                m_displayFields->add(ui.get()->*field.control, ui.get()->*area.focusHolder, field.dragsExactly);
            }
            // The secret fields draw "*" on every desktop; whether they mask is wf_ViewPasswords'.
            if (field.secret) {
                platform::usePasswordCharacter(ui.get()->*field.control);
            }
        }
    }
    connect(m_displayFields, &DisplayFields::doubleClicked, this, [this](QLineEdit* field) {
        if (field == ui->sle_TravelWebAccount) {
            sle_TravelWebAccount_DblClick();
        }
    });

    const std::array<QLabel*, 4> cards{ui->pb_CreditCardType_0, ui->pb_CreditCardType_1, ui->pb_CreditCardType_2,
                                       ui->pb_CreditCardType_3};
    for (int i = 0; i < 4; ++i) {
        QLabel* card = cards[static_cast<size_t>(i)];
        card->setPixmap(pictures::CardPixmap(i + 1, card->size(), devicePixelRatioF()));
        card->setToolTip(pictures::CardTypeName(i + 1));
    }
}

void frm_Main::connectMenus()
{
    MainCommands* commands = m_commands.get();
    connect(ui->mnu_EditCreateCredit, &QAction::triggered, this,
            [commands] { commands->mnu_EditCreateCredit_Click(); });
    connect(ui->mnu_EditCreateTravel, &QAction::triggered, this,
            [commands] { commands->mnu_EditCreateTravel_Click(); });
    connect(ui->mnu_EditCreateWeb, &QAction::triggered, this, [commands] { commands->mnu_EditCreateWeb_Click(); });
    connect(ui->mnu_EditCurrent, &QAction::triggered, this, [commands] { commands->mnu_EditCurrent_Click(); });
    connect(ui->mnu_EditDelete, &QAction::triggered, this, [commands] { commands->mnu_EditDelete_Click(); });
    connect(ui->mnu_EditPersonal, &QAction::triggered, this, [commands] { commands->mnu_EditPersonal_Click(); });
    connect(ui->mnu_HelpAbout, &QAction::triggered, this, [commands] { commands->mnu_HelpAbout_Click(); });
    connect(ui->mnu_HelpDOCFile, &QAction::triggered, this, [commands] { commands->mnu_HelpDOCFile_Click(); });
    connect(ui->mnu_HelpReadme, &QAction::triggered, this, [commands] { commands->mnu_HelpReadme_Click(); });
    connect(ui->mnu_HelpLicense, &QAction::triggered, this, [commands] { commands->mnu_HelpLicense_Click(); });
    connect(ui->mnu_FileExit, &QAction::triggered, this, &frm_Main::mnu_FileExit_Click);
    connect(ui->mnu_ViewLock, &QAction::triggered, this, &frm_Main::mnu_ViewLock_Click);
    connect(ui->mnu_ViewSplashScreen, &QAction::triggered, this, &frm_Main::mnu_ViewSplashScreen_Click);
    connect(ui->mnu_ViewAlwaysOnTop, &QAction::triggered, this, &frm_Main::mnu_ViewAlwaysOnTop_Click);
    connect(ui->mnu_ViewPasswords, &QAction::triggered, this, &frm_Main::mnu_ViewPasswords_Click);
    FileCommands* file = m_fileCommands.get();
    connect(ui->mnu_FileSetPassword, &QAction::triggered, this, [file] { file->mnu_FileSetPassword_Click(); });
    connect(ui->mnu_FileCompress, &QAction::triggered, this, [file] { file->mnu_FileCompress_Click(); });
    connect(ui->mnu_FileImport, &QAction::triggered, this, [file] { file->mnu_FileImport_Click(); });
    connect(ui->mnu_FileExport, &QAction::triggered, this, [file] { file->mnu_FileExport_Click(); });
    connect(ui->mnu_FileBackUp, &QAction::triggered, this, [file] { file->mnu_FileBackUp_Click(); });
    // <Vanish> and the tray menu belong to the notification-area icon.
}

void frm_Main::Form_Load()
{
    platform::BusyCursor busy;

    ui->cb_TrayIcon->hide();
    MainCommands* commands = m_commands.get();
    TrayControl::Commands fromTray;
    fromTray.createCredit = [commands] { commands->mnu_EditCreateCredit_Click(); };
    fromTray.createTravel = [commands] { commands->mnu_EditCreateTravel_Click(); };
    fromTray.createWeb = [commands] { commands->mnu_EditCreateWeb_Click(); };
    fromTray.exit = [this] { close(); };
    fromTray.lock = [this] { wf_LockData(); };
    fromTray.unlock = [this](const dao::SecureBytes& password) { return wf_UnlockData(password); };
    m_tray = new TrayControl(this, fromTray, {}, this);
    m_tray->AddTrayIcon();
    m_awayLock = new AwayLock([this] { m_tray->lockWindow(); }, this);
    m_awayLock->setLockedTest([this] { return m_tray->isLocked(); });
    m_awayLock->setIdleMinutes(settings::ReadLockIdleMinutes());
    m_awayLock->addIdleMenu(ui->mnu_View);

    wf_PersonalInformation();
    if (const dao::Error error = wf_SetUpDataControls()) {
        ShowErrorText(error);
    }

    // Sized by its layout before it is placed, so that the reachability test sees its frame.
    adjustSize();
    move(settings::MainWindowPosition(this));

    istr_Settings = settings::ReadFlags();
    const bool lock = settings::IsOn(istr_Settings[settings::Lock]);
    ui->mnu_ViewLock->setChecked(lock);
    gbool_Lock = lock;
    ibool_MaskPasswords = settings::IsOn(istr_Settings[settings::ViewPasswords]);
    ui->mnu_ViewPasswords->setChecked(ibool_MaskPasswords);
    ui->mnu_ViewSplashScreen->setChecked(settings::IsOn(istr_Settings[settings::SplashScreen]));
    const bool onTop = settings::IsOn(istr_Settings[settings::AlwaysOnTop]);
    ui->mnu_ViewAlwaysOnTop->setChecked(onTop);
    tasks::SetTopMost(onTop, this);
    gbool_AlwaysOnTop = onTop;

    tasks::EnableLockItem(ui->mnu_ViewLock);

    wf_ViewPasswords();
    m_hoverHelp = new HoverHelp([this] { return ibool_MaskPasswords; }, this);
    QList<HoverHelp::Field> tracked;
    for (const MainArea& area : mainAreas()) {
        for (const MainField& field : area.fields) {
            if (field.tracker != nullptr) {
                tracked.append({ui.get()->*field.control, QString::fromLatin1(field.tracker),
                                QString::fromLatin1(field.help), field.helpWhenEmpty, field.secret});
            }
        }
    }
    m_hoverHelp->wf_SetUpMouseTrack(tracked);
    wf_SetUpAccessibility();
}

void frm_Main::wf_SetUpAccessibility()
{
    // A screen reader says what a display field is, not the tooltip the hover help left on it.
    // The frames that hold the focus for the fields they frame say the kind's title; the notes,
    // which have no caption of their own, say whose they are.
    QHash<QString, QString> names;
    for (const MainArea& area : mainAreas()) {
        for (const MainField& field : area.fields) {
            if (field.help != nullptr) {
                names.insert((ui.get()->*field.control)->objectName(), QString::fromLatin1(field.help));
            }
        }
        names.insert((ui.get()->*area.focusHolder)->objectName(), categories::info(area.kind).title);
        if (area.notes != nullptr) {
            names.insert((ui.get()->*area.notes)->objectName(), QString::fromLatin1(area.notesName));
        }
    }
    names.insert(ui->tp_Data->objectName(), QStringLiteral("Lists"));
    accessibility::nameControls(this, names);
    // Ctrl+PgUp/PgDn already change pages, so the records move with Alt and the arrows.
    accessibility::addPageButtons(
        ui->tp_Data, {{QStringLiteral("cb_First"), QStringLiteral("First"), QKeySequence(Qt::ALT | Qt::Key_Home)},
                      {QStringLiteral("cb_Previous"), QStringLiteral("Previous"), QKeySequence(Qt::ALT | Qt::Key_Left)},
                      {QStringLiteral("cb_Next"), QStringLiteral("Next"), QKeySequence(Qt::ALT | Qt::Key_Right)},
                      {QStringLiteral("cb_Last"), QStringLiteral("Last"), QKeySequence(Qt::ALT | Qt::Key_End)}});
}

void frm_Main::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frm_Main::Form_Unload()
{
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    m_tray->RemoveTrayIcon();

    // Every other window goes first, also one that is only hidden (a dialog kept for reuse).
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget* window = *it;
        if (window == this || window->inherits("QMenu") || window->windowType() == Qt::ToolTip ||
            window->windowType() == Qt::Desktop) {
            continue;
        }
        window->close();
    }

    settings::WriteSettings(isMinimized(), pos(), istr_Settings);

    m_recordTools->dataClosing();
    closeData();
    endProgram()();
}

void frm_Main::mnu_FileExit_Click()
{
    close();
}

bool frm_Main::wf_PersonalInformation()
{
    if (!gdb_Data) {
        ShowErrorText(dao::makeError(dao::err::ObjectClosed));
        return false;
    }
    dao::RecordsetPtr personal;
    if (const dao::Error error = gdb_Data->OpenRecordset(statements::personalFrame(), personal)) {
        ShowErrorText(error);
        return false;
    }
    if (!personal->Bof()) {
        if (const dao::Error error = personal->MoveFirst()) {
            ShowErrorText(error);
            return false;
        }
        for (const MainField& field : mainArea(Category::Personal).fields) {
            QLineEdit* edit = ui.get()->*field.control;
            QVariant value;
            // A field without a value leaves its display as it was.
            if (!personal->Field(QString::fromLatin1(field.field), value) && !value.isNull()) {
                edit->setText(value.toString());
                edit->setCursorPosition(0);
            }
        }
    }
    personal->Close();
    return true;
}

dao::Error frm_Main::wf_SetUpDataControls(std::optional<Category> only)
{
    platform::BusyCursor busy;
    dao::Error first;
    for (const Category category : categories::listed()) {
        if (!selected(only, category)) {
            continue;
        }
        DataControl* view = dataControl(category);
        view->setDatabaseName(gdb_Data && gdb_Data->IsOpen() ? gdb_Data->Name() : QString());
        view->setRecordSource(statements::listView(category));
        view->setConnect(gstr_Connect);
        view->setPassword(gstr_Password);
        dao::Error error = view->Refresh();
        if (!error && view->DatabaseName().isEmpty()) {
            error = dao::makeError(dao::err::ObjectClosed);
        }
        if (error && !first) {
            first = error;
        }
    }
    return first;
}

void frm_Main::wf_ResetDataControls(std::optional<Category> only)
{
    for (const Category category : categories::listed()) {
        if (!selected(only, category)) {
            continue;
        }
        DataControl* view = dataControl(category);
        view->CloseRecordset();
        view->setDatabaseName(QString());
        view->setRecordSource(QString());
        // A detached view runs nothing and cannot fail.
        (void)view->Refresh();
    }
}

void frm_Main::closeData()
{
    wf_ResetDataControls();
    for (const Category category : categories::listed()) {
        // Its connect text and the password beside it.
        dataControl(category)->setConnect(QString());
        dataControl(category)->setPassword(dao::Password());
    }
    if (gdb_Data) {
        gdb_Data->Close();
        gdb_Data.reset();
    }
}

void frm_Main::wf_LockData()
{
    m_recordTools->dataClosing();
    m_lockedIds.clear();
    for (const Category category : categories::listed()) {
        m_lockedIds[category] = idBox(category)->text();
    }
    closeData();
    // What the views do not hold: the personal frame and the copies made for display. Nothing is
    // left for a screen reader to read from the covered window. Only this window's: a dialog open
    // over it is covered as it is and keeps what was typed into it for after the password check.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field->window() == this) {
            field->clear();
        }
    }
    for (QPlainTextEdit* notes : findChildren<QPlainTextEdit*>()) {
        if (notes->window() == this) {
            notes->clear();
        }
    }
    ui->hl_WebURL->setLink(QString(), QString());
    ForgetPassword();
}

TrayControl::Unlock frm_Main::wf_UnlockData(const dao::SecureBytes& password)
{
    platform::BusyCursor busy;
    // The key derivation of the file decides, not a copy of the password kept in memory.
    const QString connect = statements::connectBeside();
    dao::DatabasePtr database;
    const dao::Error error = dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, connect, database, password);
    if (error.number() == dao::err::InvalidPassword) {
        return TrayControl::Unlock::WrongPassword;
    }
    if (error) {
        ShowErrorText(error);
        return TrayControl::Unlock::Failed;
    }
    gdb_Data = database;
    gstr_Password = password.copy();
    gstr_Connect = connect;
    wf_PersonalInformation();
    if (const dao::Error setUp = wf_SetUpDataControls()) {
        ShowErrorText(setUp);
    }
    for (const Category category : categories::listed()) {
        const qint64 id = recordIdFromText(m_lockedIds[category]);
        // A record gone meanwhile leaves the page on its first record.
        if (id > 0) {
            (void)dataControl(category)->FindFirst(statements::criteriaById(category, id));
        }
    }
    m_lockedIds.clear();
    return TrayControl::Unlock::Opened;
}

DataControl* frm_Main::dataControl(Category category) const
{
    DataControl* Ui::frm_Main::*view = mainArea(category).view;
    return view != nullptr ? ui.get()->*view : nullptr;
}

QLineEdit* frm_Main::idBox(Category category) const
{
    return fieldShowing(*ui, category, categories::info(category).keyField);
}

QLineEdit* frm_Main::nameBox(Category category) const
{
    return fieldShowing(*ui, category, categories::info(category).nameField);
}

std::optional<Category> frm_Main::currentCategory() const
{
    return categories::onPage(ui->tp_Data->currentIndex());
}

void frm_Main::showPage(Category category)
{
    const int page = categories::info(category).page;
    if (page >= 0) {
        ui->tp_Data->setCurrentIndex(page);
    }
}

QAction* frm_Main::menuItem(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

tasks::TopMostBracket frm_Main::modalBracket()
{
    return tasks::TopMostBracket(this, gbool_AlwaysOnTop);
}

void frm_Main::sle_CreditCardType_Change()
{
    const std::array<QLabel*, 5> pictures{ui->pb_CreditCardType_0, ui->pb_CreditCardType_1, ui->pb_CreditCardType_2,
                                          ui->pb_CreditCardType_3, ui->pb_CreditCardType_4};
    // The pictures of card types 1 to 5, in order.
    const int shown = StoredCardType(ui->sle_CreditCardType->text());
    for (int i = 0; i < 5; ++i) {
        pictures[static_cast<size_t>(i)]->setVisible(i + 1 == shown);
    }
}

void frm_Main::sle_CreditExpirationDateData_Change()
{
    ui->sle_CreditExpirationDate->setText(wf_FormatDate(ui->sle_CreditExpirationDateData->text()));
}

void frm_Main::sle_CreditPhoneNumberData_Change()
{
    ui->sle_CreditPhoneNumber->setText(wf_FormatPhone(ui->sle_CreditPhoneNumberData->text(), true));
}

void frm_Main::sle_PhoneNumber_Change()
{
    // Formatting a formatted number changes nothing, so the change this causes ends here.
    ui->sle_PhoneNumber->setText(wf_FormatPhone(ui->sle_PhoneNumber->text(), true));
}

void frm_Main::sle_TravelPhoneNumber_Change()
{
    ui->sle_TravelPhoneNumber->setText(wf_FormatPhone(ui->sle_TravelPhoneNumber->text(), true));
}

void frm_Main::sle_WebURL_Change()
{
    const QString address = WebLinkAddress(ui->sle_WebURL->text());
    ui->hl_WebURL->setLink(address, address);
}

void frm_Main::sle_TravelWebAccount_DblClick()
{
    ui->tp_Data->setProperty("Tag", ui->sle_TravelProgramID->text());
    showPage(Category::Web);
    dao::Error error = ui->dao_WebAccounts->FindFirst(statements::criteriaByWebSite(ui->sle_TravelWebAccount->text()));
    if (error || ui->dao_WebAccounts->NoMatch()) {
        showPage(Category::Travel);
        const qint64 id = recordIdFromText(ui->tp_Data->property("Tag").toString());
        const dao::Error back = ui->dao_TravelPrograms->FindFirst(statements::criteriaById(Category::Travel, id));
        if (!error) {
            error = back;
        }
    }
    ui->tp_Data->setProperty("Tag", QString());
    if (error) {
        ShowErrorText(error);
    }
}

void frm_Main::wf_ViewPasswords()
{
    const QLineEdit::EchoMode mode = ibool_MaskPasswords ? QLineEdit::Password : QLineEdit::Normal;
    ui->sle_WebPassword->setEchoMode(mode);
    ui->sle_TravelPINNumber->setEchoMode(mode);
}

void frm_Main::mnu_ViewPasswords_Click()
{
    ibool_MaskPasswords = !ibool_MaskPasswords;
    istr_Settings[settings::ViewPasswords] = ibool_MaskPasswords ? QStringLiteral("1") : QStringLiteral("0");
    ui->mnu_ViewPasswords->setChecked(ibool_MaskPasswords);
    wf_ViewPasswords();
}

void frm_Main::mnu_ViewSplashScreen_Click()
{
    // Takes effect at the next start.
    const bool on = !settings::IsOn(istr_Settings[settings::SplashScreen]);
    istr_Settings[settings::SplashScreen] = on ? QStringLiteral("1") : QStringLiteral("0");
    ui->mnu_ViewSplashScreen->setChecked(on);
}

void frm_Main::mnu_ViewLock_Click()
{
    tasks::ToggleLock(ui->mnu_ViewLock, istr_Settings);
}

void frm_Main::mnu_ViewAlwaysOnTop_Click()
{
    tasks::ToggleAlwaysOnTop(ui->mnu_ViewAlwaysOnTop, istr_Settings, this);
}
