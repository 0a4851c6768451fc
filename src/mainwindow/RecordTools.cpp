#include "RecordTools.h"

#include "DataControl.h"
#include "General.h"
#include "Platform.h"
#include "Statements.h"
#include "frm_Find.h"
#include "frm_Main.h"

#include <QAction>
#include <QMenu>

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& key = {})
{
    auto* item = new QAction(text, menu);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(key);
    menu->addAction(item);
    return item;
}

} // namespace

RecordTools::RecordTools(frm_Main& main) : QObject(&main), m_main(main)
{
    QMenu* edit = main.findChild<QMenu*>(QStringLiteral("mnu_Edit"));
    edit->addSeparator()->setObjectName(QStringLiteral("mnu_EditBar2"));
    QAction* find = addItem(edit, "mnu_EditFind", QStringLiteral("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, &RecordTools::mnu_EditFind_Click);
}

void RecordTools::mnu_EditFind_Click()
{
    if (!gdb_Data || !gdb_Data->IsOpen()) {
        ShowErrorText(dao::makeError(dao::err::ObjectClosed));
        return;
    }
    frm_Find window(&m_main);
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

bool RecordTools::showRecord(const QString& category, qint64 id)
{
    const statements::Category* kind = statements::category(category);
    DataControl* view = m_main.dataControl(category);
    if (kind == nullptr || view == nullptr) {
        return false;
    }
    m_main.showPage(category);
    dao::Error error = view->FindFirst(statements::criteriaById(*kind, id));
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

void RecordTools::dataLocked()
{
    if (m_open) {
        m_open->reject();
    }
}
