#include "PasswordEntry.h"

#include "Platform.h"

#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>

namespace passwordentry {

namespace {

class UnminimisedFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && event->type() == QEvent::WindowStateChange && dialog->isMinimized()) {
            // Once the state change is through: undoing it within it leaves the desktop's copy minimised.
            QPointer<QDialog> guarded(dialog);
            QMetaObject::invokeMethod(
                this,
                [guarded] {
                    if (guarded && guarded->isMinimized()) {
                        guarded->setWindowState(guarded->windowState() & ~Qt::WindowMinimized);
                        guarded->show();
                        guarded->raise();
                        guarded->activateWindow();
                    }
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void stayUnminimised(QDialog* dialog)
{
    dialog->installEventFilter(new UnminimisedFilter(dialog));
}

void prepare(QDialog* dialog, QLineEdit* box)
{
    // On X11 a frame that names none of its buttons lets the window manager offer all of them,
    // minimise and maximise included; naming the close button alone leaves those two out and
    // keeps the desktop's close keystroke, which counts as Cancel.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    stayUnminimised(dialog);
    if (dialog->layout() != nullptr) {
        dialog->layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
    platform::usePasswordCharacter(box);
    box->setFocus();
}

void refuse(QLineEdit* box, const QString& message)
{
    platform::MsgBox(message, platform::vbInformation, QStringLiteral("Corvanta Password"));
    box->setFocus();
    box->setSelection(0, static_cast<int>(box->text().size()));
}

} // namespace passwordentry
