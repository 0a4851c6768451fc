#include "FileCommands.h"

#include "Export.h"
#include "General.h"
#include "Import.h"
#include "MainWindowInterface.h"
#include "Maintenance.h"
#include "Platform.h"
#include "Statements.h"
#include "TopMost.h"
#include "frm_Password.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

const QString kCsvFiles = QStringLiteral("CSV files (*.csv);;All files (*)");
// A million accounts take about 200 MB; a larger file was chosen by mistake.
constexpr qint64 kLargestImport = qint64(512) << 20;

// A progress dialog that shows itself only when the work lasts beyond one second.
class Progress
{
public:
    Progress(QWidget* parent, const QString& label) : m_dialog(label, QString(), 0, 0, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("Corvanta"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setCancelButton(nullptr);
        m_dialog.setMinimumDuration(1000);
        m_dialog.setValue(0);
    }
    void operator()(int done, int total)
    {
        if (done % 256 == 0 || done == total) {
            m_dialog.setMaximum(total);
            m_dialog.setValue(done);
        }
    }

private:
    QProgressDialog m_dialog;
};

// An export or a backup written over the data file would lose it.
bool refuseDataFile(const QString& path)
{
    const QFileInfo chosen(path);
    const QFileInfo data(gstr_DataFile);
    if (chosen.absoluteFilePath() != data.absoluteFilePath() &&
        (!chosen.exists() || chosen.canonicalFilePath() != data.canonicalFilePath())) {
        return false;
    }
    platform::ShowMessage(QStringLiteral("That is the data file itself. Choose another file."),
                          platform::MessageKind::Information, QStringLiteral("Corvanta"));
    return true;
}

QString howMany(const QList<transfer::Record>& records, qsizetype count)
{
    for (const transfer::Record& record : records) {
        if (record.category != Category::Web) {
            return QStringLiteral("%1 records").arg(count);
        }
    }
    return count == 1 ? QStringLiteral("1 web account") : QStringLiteral("%1 web accounts").arg(count);
}

} // namespace

FileCommands::FileCommands(MainWindowInterface& main) : m_main(main) {}

FileCommands::~FileCommands() = default;

void FileCommands::reattach()
{
    m_main.wf_PersonalInformation();
    if (const dao::Error error = m_main.wf_SetUpDataControls(std::nullopt)) {
        ShowErrorText(error);
    }
}

void FileCommands::mnu_FileSetPassword_Click()
{
    if (!m_password) {
        m_password = std::make_unique<frm_Password>(m_main.widget());
        m_password->setResetDataControls([this] { m_main.wf_ResetDataControls(std::nullopt); });
    }
    {
        const tasks::TopMostBracket bracket = m_main.modalBracket();
        platform::ShowModal(m_password.get());
    }
    tasks::EnableLockItem(m_main.menuItem("mnu_ViewLock"));
    // The views were let go of only when the dialog went as far as changing the password;
    // attaching them again is harmless otherwise and keeps one way through.
    reattach();
}

void FileCommands::mnu_FileCompress_Click()
{
    if (platform::ShowMessage(QStringLiteral("Are you sure you want to compress that datafile?"),
                              platform::MessageKind::Question, QStringLiteral("Corvanta")) != platform::Answer::Yes) {
        return;
    }
    platform::BusyCursor busy;
    if (gdb_Data) {
        gdb_Data->Close();
        gdb_Data.reset();
    }
    m_main.wf_ResetDataControls(std::nullopt);
    // Compacted beside the data file and swapped in by one rename, so that a complete data
    // file is under its own name whatever happens; on failure the file is as it was.
    const dao::Error compactError = maintenance::compactDataFile(gstr_DataFile, gstr_Password);
    const dao::Error openError =
        dao::DBEngine::OpenDatabase(gstr_DataFile, false, false, gstr_Connect, gdb_Data, gstr_Password);
    if (compactError) {
        ShowErrorText(compactError);
    } else if (openError) {
        ShowErrorText(openError);
    }
    if (!openError) {
        reattach();
    }
}

void FileCommands::mnu_FileImport_Click()
{
    const QString path = platform::ChooseFile(false, QStringLiteral("Import"), QDir::homePath(), kCsvFiles);
    if (path.isEmpty() || !gdb_Data) {
        return;
    }
    QList<transfer::Record> records;
    QList<bool> duplicate;
    {
        platform::BusyCursor busy;
        QFile file(path);
        QString message;
        if (!file.open(QIODevice::ReadOnly)) {
            message = QStringLiteral("The file cannot be imported: %1.").arg(file.errorString());
        } else if (file.size() > kLargestImport) {
            message = QStringLiteral("The file cannot be imported: at %1 MB it is far larger than any export of "
                                     "accounts.")
                          .arg(file.size() >> 20);
        } else if (transfer::readExport(file.readAll(), records, message)) {
            if (const dao::Error error = transfer::findDuplicates(*gdb_Data, records, duplicate)) {
                ShowErrorText(error);
                return;
            }
        }
        if (!message.isEmpty()) {
            platform::ShowMessage(message, platform::MessageKind::Stop, QStringLiteral("Corvanta Error"));
            return;
        }
    }
    const qsizetype duplicates = duplicate.count(true);
    if (duplicates > 0) {
        const QString question =
            (duplicates == 1 ? QStringLiteral("The file holds %1; one of them looks like one already in the data file "
                                              "(same name and login).\n\nSkip it?")
                             : QStringLiteral("The file holds %1; %2 of them look like ones already in the data file "
                                              "(same name and login).\n\nSkip those %2?"))
                .arg(howMany(records, records.size()))
                .arg(duplicates);
        if (platform::ShowMessage(question, platform::MessageKind::Question, QStringLiteral("Corvanta")) ==
            platform::Answer::Yes) {
            QList<transfer::Record> kept;
            for (qsizetype i = 0; i < records.size(); ++i) {
                if (!duplicate.at(i)) {
                    kept << records.at(i);
                }
            }
            records = kept;
        }
    }
    if (records.isEmpty()) {
        platform::ShowMessage(QStringLiteral("There is nothing to import."), platform::MessageKind::Information,
                              QStringLiteral("Corvanta"));
        return;
    }
    const QString added = howMany(records, records.size());
    if (platform::ShowMessage(QStringLiteral("%1 will be added to the data file.\n\nImport them?").arg(added),
                              platform::MessageKind::Question, QStringLiteral("Corvanta")) != platform::Answer::Yes) {
        return;
    }
    dao::Error error;
    {
        platform::BusyCursor busy;
        Progress progress(m_main.widget(), QStringLiteral("Importing..."));
        error = transfer::addRecords(*gdb_Data, records, std::ref(progress));
    }
    if (error) {
        ShowErrorText(error);
        return;
    }
    // The views show what the file holds now, the new web accounts among them.
    if (const dao::Error attach = m_main.wf_SetUpDataControls(std::nullopt)) {
        ShowErrorText(attach);
    }
    m_main.showPage(Category::Web);
    platform::ShowMessage(QStringLiteral("%1 imported.").arg(added), platform::MessageKind::Information,
                          QStringLiteral("Corvanta"));
}

void FileCommands::mnu_FileExport_Click()
{
    if (!gdb_Data || platform::ShowMessage(
                         QStringLiteral("The file will hold every password of the data file in plain text, readable "
                                        "by anyone who can read the file.\n\nExport anyway?"),
                         platform::MessageKind::Question, QStringLiteral("Corvanta")) != platform::Answer::Yes) {
        return;
    }
    const QString path = platform::ChooseFile(true, QStringLiteral("Export"),
                                              QDir::home().filePath(QStringLiteral("Corvanta.csv")), kCsvFiles);
    if (path.isEmpty() || refuseDataFile(path)) {
        return;
    }
    QByteArray bytes;
    int count = 0;
    dao::Error error;
    {
        platform::BusyCursor busy;
        Progress progress(m_main.widget(), QStringLiteral("Exporting..."));
        error = transfer::exportAll(*gdb_Data, bytes, count, std::ref(progress));
        if (!error) {
            // Written as the data file is saved, so that no half-written export is ever left.
            error = dao::DBEngine::WriteFile(path, bytes);
        }
        bytes.fill('\0');
    }
    if (error) {
        ShowErrorText(error);
        return;
    }
    const QString records = count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count);
    platform::ShowMessage(QStringLiteral("%1 exported to %2.").arg(records, QDir::toNativeSeparators(path)),
                          platform::MessageKind::Information, QStringLiteral("Corvanta"));
}

void FileCommands::mnu_FileBackUp_Click()
{
    const QString suggested =
        QDir::home().filePath(QStringLiteral("Corvanta-%1.cvd").arg(QDate::currentDate().toString(Qt::ISODate)));
    const QString path = platform::ChooseFile(true, QStringLiteral("Back Up Data File"), suggested,
                                              QStringLiteral("Data files (*.cvd);;All files (*)"));
    if (path.isEmpty() || refuseDataFile(path)) {
        return;
    }
    dao::Error error;
    {
        // One read and one write of the file: a tenth of a second for 100,000 records.
        platform::BusyCursor busy;
        error = dao::DBEngine::CopyFile(gstr_DataFile, path);
    }
    if (error) {
        ShowErrorText(error);
        return;
    }
    platform::ShowMessage(QStringLiteral("The data file was backed up to %1.").arg(QDir::toNativeSeparators(path)),
                          platform::MessageKind::Information, QStringLiteral("Corvanta"));
}
