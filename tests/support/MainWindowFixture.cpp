#include "MainWindowFixture.h"

#include "Desktop.h"
#include "EngineFixture.h"
#include "General.h"
#include "MainCommands.h"
#include "SettingsStore.h"
#include "Statements.h"

#include <QLineEdit>
#include <QTest>

MainWindowFixture::MainWindowFixture(const QString& password)
{
    fixture::useCheapKdf();
    platform::setSettingsFolder(dir.path());
    platform::setProgramDirectory(dir.path());
    dataFile = fixture::createDataFile(dir.path(), password);
    gstr_DataFile = dataFile;
    gstr_Password = dao::SecureBytes::fromText(password);
    gstr_Connect = statements::connectWith(password);
    gdb_Data = fixture::open(dataFile, password);
    gbool_AlwaysOnTop = false;
    gbool_Lock = false;

    frm_Main::setEndProgram([this] { ++programEnded; });
    MainCommands::setEditDialog([this](Category kind, QString& recordId, QWidget*) {
        const QString category = categories::info(kind).name;
        dialogCalls.append({category, recordId});
        if (m_dialogs.empty()) {
            return false;
        }
        DialogAction action = std::move(m_dialogs.front());
        m_dialogs.pop_front();
        return action(category, recordId);
    });
}

MainWindowFixture::~MainWindowFixture()
{
    m_main.reset();
    MainCommands::setEditDialog({});
    frm_Main::setEndProgram({});
    if (gdb_Data) {
        gdb_Data->Close();
    }
    gdb_Data.reset();
    gstr_Password.clear();
    platform::setSettingsFolder(QString());
    platform::setProgramDirectory(QString());
}

frm_Main& MainWindowFixture::show()
{
    m_main.reset();
    m_main = std::make_unique<frm_Main>();
    m_main->show();
    return *m_main;
}

void MainWindowFixture::closeWindow()
{
    m_main->close();
}

qint64 MainWindowFixture::add(const QString& table, const QVariantMap& values)
{
    return fixture::addRecord(*gdb_Data, table, values);
}

QStringList MainWindowFixture::column(const QString& statement, const QString& field)
{
    return fixture::column(*gdb_Data, statement, field);
}

QString MainWindowFixture::text(const char* objectName) const
{
    const auto* edit = m_main->findChild<QLineEdit*>(QString::fromLatin1(objectName));
    return edit != nullptr ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(objectName));
}

MainWindowFixture::DialogAction MainWindowFixture::saveName(const QString& name)
{
    return [name](const QString& category, QString& recordId) {
        const CategoryInfo* kind = categories::named(category);
        const qint64 id = recordId.toLongLong();
        dao::RecordsetPtr rs;
        if (id > 0) {
            if (gdb_Data->OpenRecordset(statements::loadRecord(kind->kind, id), rs, dao::dbOpenDynaset) || rs->Edit()) {
                return false;
            }
        } else if (gdb_Data->OpenRecordset(statements::wholeTable(kind->kind), rs, dao::dbOpenDynaset) ||
                   rs->AddNew()) {
            return false;
        }
        if (rs->SetField(kind->nameField, name) || rs->Update()) {
            return false;
        }
        if (id <= 0) {
            recordId = QString::number(rs->LastInsertedKey());
        }
        return true;
    };
}

MainWindowFixture::DialogAction MainWindowFixture::cancel()
{
    return [](const QString&, QString&) { return false; };
}
