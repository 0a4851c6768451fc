#pragma once

#include "Platform.h"

namespace platform {

// The seam of the running program: real message boxes, real modal loops, the real pointer.
class DesktopSeam : public Seam
{
public:
    Answer messageBox(const QString& text, MessageKind kind, const QString& title) override;
    int showModal(QDialog* dialog) override;
    void setBusyCursor(bool busy) override;
    void beep() override;
    QString chooseFile(bool save, const QString& title, const QString& suggested, const QString& filter) override;

private:
    // The busy pointer is a state, not a count: callers switch it on and off without pairing
    // their calls, so at most one override cursor is ever pushed.
    bool m_busy = false;
};

} // namespace platform
