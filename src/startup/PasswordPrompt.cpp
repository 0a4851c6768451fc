#include "PasswordPrompt.h"

#include "ui_PasswordPrompt.h"

#include "Accessibility.h"
#include "General.h"
#include "Platform.h"

#include <QEvent>
#include <QLayout>
#include <QPointer>

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
            // Once the state change is through: undoing it within it leaves the desktop's copy
            // minimised.
            QPointer<QDialog> guarded(dialog);
            QMetaObject::invokeMethod(
                this,
                [guarded] {
                    if (guarded && guarded->isMinimized()) {
                        guarded->showNormal();
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

void usePasswordDialogFrame(QDialog* dialog)
{
    // On X11 a frame that names none of its buttons lets the window manager offer all of them;
    // naming the title and the close button alone tells it (through the Motif hints Qt sets)
    // that this window may be neither minimised nor maximised.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->installEventFilter(new UnminimisedFilter(dialog));
}

PasswordPrompt::PasswordPrompt(Kind kind, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::PasswordPrompt>()), m_kind(kind)
{
    ui->setupUi(this);
    setObjectName(kind == Kind::Login ? QStringLiteral("frm_Login") : QStringLiteral("frm_PasswordCheck"));
    usePasswordDialogFrame(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    platform::usePasswordCharacter(ui->sle_Password);
    ui->sle_Password->setFocus();
    accessibility::nameControls(this);
    if (m_kind == Kind::Check) {
        gbool_PasswordCheckOK = false;
    }
    connect(ui->cb_OK, &QPushButton::clicked, this, &PasswordPrompt::cb_OK_Click);
    connect(ui->cb_Cancel, &QPushButton::clicked, this, &PasswordPrompt::cb_Cancel_Click);
}

PasswordPrompt::~PasswordPrompt() = default;

void PasswordPrompt::cb_OK_Click()
{
    QLineEdit* box = ui->sle_Password;
    if (box->text().isEmpty()) {
        platform::ShowMessage(m_kind == Kind::Login ? QStringLiteral("Password is incorrect.")
                                                    : QStringLiteral("Please enter a password."),
                              platform::MessageKind::Information, QStringLiteral("Corvanta Password"));
        box->setFocus();
        box->setSelection(0, static_cast<int>(box->text().size()));
        return;
    }
    m_password = dao::SecureBytes::fromText(box->text());
    leave(true);
}

void PasswordPrompt::cb_Cancel_Click()
{
    m_password = dao::SecureBytes();
    leave(false);
}

void PasswordPrompt::reject()
{
    cb_Cancel_Click();
}

void PasswordPrompt::leave(bool ok)
{
    // setText, unlike clear, also drops the undo history, which holds every typed character.
    ui->sle_Password->setText(QString());
    ibool_OK = ok;
    if (m_kind == Kind::Check) {
        gbool_PasswordCheckOK = ok;
    }
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}
