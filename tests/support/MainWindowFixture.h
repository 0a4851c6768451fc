#pragma once

#include "Dao.h"
#include "ScriptedSeam.h"
#include "frm_Main.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <memory>

// A real data file in a folder of its own, the settings kept there too, the seam scripted, and
// the edit dialogs replaced by a stand-in that saves through the engine as a dialog's OK would.
class MainWindowFixture
{
public:
    // What the stand-in dialog does when it is opened: the kind and the id it was given; it
    // returns whether it "saved" and may change the id as a save does.
    using DialogAction = std::function<bool(const QString& category, QString& recordId)>;

    explicit MainWindowFixture(const QString& password = QString());
    ~MainWindowFixture();

    // Makes (or remakes) the main window, as start-up would.
    frm_Main& show();
    frm_Main& main() { return *m_main; }
    void closeWindow();

    // Adds a record to a table straight into the file; returns its id.
    qint64 add(const QString& table, const QVariantMap& values);
    // Values of one field of a table, in the order of a statement.
    QStringList column(const QString& statement, const QString& field);
    QString text(const char* objectName) const;

    // The next dialog does this; with none queued a dialog is cancelled.
    void queueDialog(DialogAction action) { m_dialogs.push_back(std::move(action)); }
    // A stand-in that saves a new record (id "0") or renames the record of its id.
    static DialogAction saveName(const QString& name);
    static DialogAction cancel();

    struct DialogCall
    {
        QString category;
        QString recordIdIn;
    };
    QList<DialogCall> dialogCalls;
    int programEnded = 0;

    testsupport::ScriptedSeam seam;
    QTemporaryDir dir;
    QString dataFile;

private:
    std::unique_ptr<frm_Main> m_main;
    std::deque<DialogAction> m_dialogs;
};

// Receives the documents and links the program hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};
