#include "ScriptedSeam.h"

#include <QDialog>

namespace testsupport {

ScriptedSeam::ScriptedSeam()
{
    platform::setSeam(this);
}

ScriptedSeam::~ScriptedSeam()
{
    platform::setSeam(nullptr);
}

platform::Answer ScriptedSeam::messageBox(const QString& text, platform::MessageKind kind, const QString& title)
{
    messages.append({text, static_cast<int>(kind), title});
    if (!m_answers.empty()) {
        const platform::Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return kind == platform::MessageKind::Question ? platform::Answer::No : platform::Answer::OK;
}

int ScriptedSeam::showModal(QDialog* dialog)
{
    if (dialog == nullptr) {
        return QDialog::Rejected;
    }
    modalDialogs.append(dialog->objectName().isEmpty() ? QString::fromLatin1(dialog->metaObject()->className())
                                                       : dialog->objectName());
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    if (!m_scripts.empty()) {
        const Script script = std::move(m_scripts.front());
        m_scripts.pop_front();
        script(dialog);
    }
    if (dialog->isVisible()) {
        ++leftOpen;
        dialog->reject();
    }
    return dialog->result();
}

void ScriptedSeam::setBusyCursor(bool on)
{
    busyOn += on ? 1 : 0;
    busy = on;
}

void ScriptedSeam::beep()
{
    ++beeps;
}

QString ScriptedSeam::chooseFile(bool, const QString& title, const QString&, const QString&)
{
    fileChoosers.append(title);
    if (m_files.empty()) {
        return {};
    }
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

} // namespace testsupport
