#include "RecordTools.h"

#include "DataControl.h"
#include "DisplayFields.h"
#include "General.h"
#include "MainWindowInterface.h"
#include "Platform.h"
#include "SecretClipboard.h"
#include "Settings.h"
#include "Statements.h"
#include "frm_Find.h"
#include "frm_PasswordReport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTabWidget>

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& key = {})
{
    auto* item = new QAction(text, menu);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(key);
    menu->addAction(item);
    return item;
}

// The values that open an account: they leave the program as secrets.
bool isSecret(const QLineEdit* field)
{
    static const QStringList secrets{QStringLiteral("sle_WebPassword"), QStringLiteral("sle_TravelPINNumber"),
                                     QStringLiteral("sle_CreditAccountNumber")};
    return secrets.contains(field->objectName());
}

} // namespace

RecordTools::RecordTools(MainWindowInterface& main) : QObject(main.widget()), m_main(main)
{
    m_clipboard = new SecretClipboard(this);
    m_clipboard->setSeconds(settings::ReadClipboardSeconds());

    QMenu* edit = main.widget()->findChild<QMenu*>(QStringLiteral("mnu_Edit"));
    edit->addSeparator()->setObjectName(QStringLiteral("mnu_EditBar2"));
    QAction* find = addItem(edit, "mnu_EditFind", QStringLiteral("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, &RecordTools::mnu_EditFind_Click);
    QAction* login =
        addItem(edit, "mnu_EditCopyLogin", QStringLiteral("Copy &Login"), QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(login, &QAction::triggered, this, &RecordTools::mnu_EditCopyLogin_Click);
    m_copySecret = addItem(edit, "mnu_EditCopySecret", QString(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(m_copySecret, &QAction::triggered, this, &RecordTools::mnu_EditCopySecret_Click);
    nameSecretItem();
    connect(main.widget()->findChild<QTabWidget*>(QStringLiteral("tp_Data")), &QTabWidget::currentChanged, this,
            &RecordTools::nameSecretItem);
    addCopyMenus();

    QMenu* view = main.widget()->findChild<QMenu*>(QStringLiteral("mnu_View"));
    view->addSeparator()->setObjectName(QStringLiteral("mnu_ViewBar0"));
    QAction* report = addItem(view, "mnu_ViewPasswordReport", QStringLiteral("Password &Report..."));
    connect(report, &QAction::triggered, this, &RecordTools::mnu_ViewPasswordReport_Click);
}

void RecordTools::addCopyMenus()
{
    QSet<QWidget*> holders;
    for (QLineEdit* field : m_main.widget()->findChildren<QLineEdit*>()) {
        QWidget* holder = m_main.displayFields().focusHolder(field);
        if (holder == nullptr) {
            continue;
        }
        holders.insert(holder);
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QWidget::customContextMenuRequested, this,
                [this, field](const QPoint& at) { showCopyMenu(field, field->mapToGlobal(at)); });
    }
    // The menu key goes to the frame that holds the focus for its fields: the field under the
    // pointer is the one meant.
    for (QWidget* holder : std::as_const(holders)) {
        holder->installEventFilter(this);
    }
}

bool RecordTools::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        auto* field = qobject_cast<QLineEdit*>(QApplication::widgetAt(QCursor::pos()));
        if (field != nullptr && m_main.displayFields().focusHolder(field) == watched) {
            showCopyMenu(field, QCursor::pos());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void RecordTools::showCopyMenu(QLineEdit* field, const QPoint& globalPosition)
{
    QMenu menu(m_main.widget());
    menu.setObjectName(QStringLiteral("mnu_FieldCopy"));
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    copy->setEnabled(!field->text().isEmpty());
    connect(copy, &QAction::triggered, this, [this, field] { copyField(field); });
    menu.exec(globalPosition);
}

void RecordTools::copyField(QLineEdit* field)
{
    if (field == nullptr || field->text().isEmpty()) {
        platform::Beep();
        return;
    }
    m_clipboard->copy(field->text(), isSecret(field));
}

void RecordTools::mnu_EditCopyLogin_Click()
{
    copyField(m_main.widget()->findChild<QLineEdit*>(QStringLiteral("sle_WebLogin")));
}

void RecordTools::mnu_EditCopySecret_Click()
{
    copyField(secretField());
}

QLineEdit* RecordTools::secretField() const
{
    const std::optional<Category> category = m_main.currentCategory();
    const char* name = category == Category::Credit   ? "sle_CreditAccountNumber"
                       : category == Category::Travel ? "sle_TravelPINNumber"
                                                      : "sle_WebPassword";
    return m_main.widget()->findChild<QLineEdit*>(QString::fromLatin1(name));
}

void RecordTools::nameSecretItem()
{
    const std::optional<Category> category = m_main.currentCategory();
    m_copySecret->setText(category == Category::Credit   ? QStringLiteral("Copy Card &Number")
                          : category == Category::Travel ? QStringLiteral("Copy &PIN")
                                                         : QStringLiteral("Copy &Password"));
}

void RecordTools::mnu_EditFind_Click()
{
    if (!gdb_Data || !gdb_Data->IsOpen()) {
        ShowErrorText(dao::makeError(dao::err::ObjectClosed));
        return;
    }
    frm_Find window(m_main.widget());
    m_open = &window;
    const dao::Error error = window.load(*gdb_Data);
    if (error) {
        ShowErrorText(error);
        return;
    }
    const bool chosen = platform::ShowModal(&window) == QDialog::Accepted;
    // Locked meanwhile: the choice leads nowhere.
    if (chosen && window.chosen() && gdb_Data) {
        showRecord(recordtools::pageCategory(window.chosen()->page), window.chosen()->id);
    }
}

void RecordTools::mnu_ViewPasswordReport_Click()
{
    if (!gdb_Data || !gdb_Data->IsOpen()) {
        ShowErrorText(dao::makeError(dao::err::ObjectClosed));
        return;
    }
    frm_PasswordReport window(m_main.widget());
    if (const dao::Error error = window.load(*gdb_Data, QDate::currentDate())) {
        ShowErrorText(error);
        return;
    }
    m_open = &window;
    const bool chosen = platform::ShowModal(&window) == QDialog::Accepted;
    if (chosen && window.chosen() && gdb_Data) {
        showRecord(recordtools::pageCategory(window.chosen()->page), window.chosen()->id);
    }
}

bool RecordTools::showRecord(Category category, qint64 id)
{
    DataControl* view = m_main.dataControl(category);
    if (view == nullptr) {
        return false;
    }
    m_main.showPage(category);
    dao::Error error = view->FindFirst(statements::criteriaById(category, id));
    if (!error && view->NoMatch()) {
        // Gone since the list was made.
        error = dao::makeError(dao::err::NoCurrentRecord);
    }
    if (error) {
        ShowErrorText(error);
        return false;
    }
    return true;
}

void RecordTools::dataClosing()
{
    if (m_open) {
        m_open->reject();
    }
    m_clipboard->clearSecret();
}
