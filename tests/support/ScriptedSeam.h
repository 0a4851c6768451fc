#pragma once

#include "Platform.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

class QDialog;

namespace testsupport {

// The test double of the platform seam. It installs itself for its lifetime, records every
// message and answers from a queue, counts the busy pointer and the beeps, and runs a queued
// script inside each modal dialog instead of waiting for a person.
class ScriptedSeam : public platform::Seam
{
public:
    struct Message
    {
        QString text;
        int flags = 0; // the kind's number
        QString title;
    };
    using Script = std::function<void(QDialog*)>;

    ScriptedSeam();
    ~ScriptedSeam() override;
    ScriptedSeam(const ScriptedSeam&) = delete;
    ScriptedSeam& operator=(const ScriptedSeam&) = delete;

    // Answers of the next message boxes, in order. With none queued: OK, or No for a question.
    void queueAnswer(platform::Answer answer) { m_answers.push_back(answer); }
    // Scripts of the next modal dialogs, in order. The script gets the shown dialog and types
    // or clicks; the modal display then returns the dialog's result. A dialog without script,
    // or one the script left open, is rejected and counted in leftOpen.
    void queueScript(Script script) { m_scripts.push_back(std::move(script)); }
    int pendingScripts() const { return static_cast<int>(m_scripts.size()); }
    // Answers of the next file choosers, in order; with none queued a chooser is cancelled.
    void queueFile(const QString& path) { m_files.push_back(path); }

    platform::Answer messageBox(const QString& text, platform::MessageKind kind, const QString& title) override;
    int showModal(QDialog* dialog) override;
    void setBusyCursor(bool busy) override;
    void beep() override;
    QString chooseFile(bool save, const QString& title, const QString& suggested, const QString& filter) override;

    QList<Message> messages;
    // Titles of the file choosers shown, in order.
    QStringList fileChoosers;
    // Object names (or class names) of the dialogs shown modally, in order.
    QStringList modalDialogs;
    int leftOpen = 0;
    int busyOn = 0;
    bool busy = false;
    int beeps = 0;

private:
    std::deque<platform::Answer> m_answers;
    std::deque<Script> m_scripts;
    std::deque<QString> m_files;
};

} // namespace testsupport
