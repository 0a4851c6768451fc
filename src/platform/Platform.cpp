#include "Platform.h"

#include "DesktopSeam.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QProxyStyle>
#include <QPushButton>
#include <QUrl>

namespace platform {

namespace {

Seam* g_seam = nullptr;

DesktopSeam& desktopSeam()
{
    static DesktopSeam desktop;
    return desktop;
}

// Only the echo character differs from the widget's own style; everything else is passed on.
class PasswordCharacterStyle : public QProxyStyle
{
public:
    PasswordCharacterStyle(QStyle* base, QChar character) : QProxyStyle(base), m_character(character) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return m_character.unicode();
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar m_character;
};

// While the program waits for the person, the pointer says so: the normal arrow over the box,
// whatever busy state the program was in, and that state again afterwards.
class NormalPointerWhileWaiting
{
public:
    NormalPointerWhileWaiting() : m_pushed(QApplication::overrideCursor() != nullptr)
    {
        if (m_pushed) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~NormalPointerWhileWaiting()
    {
        if (m_pushed) {
            QApplication::restoreOverrideCursor();
        }
    }
    NormalPointerWhileWaiting(const NormalPointerWhileWaiting&) = delete;
    NormalPointerWhileWaiting& operator=(const NormalPointerWhileWaiting&) = delete;

private:
    bool m_pushed;
};

// A message belongs to the active window; at start-up, before any window is active, to the
// splash window, so that it shows above the splash instead of behind it.
QWidget* messageOwner()
{
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() == Qt::SplashScreen) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

Seam& seam()
{
    return g_seam != nullptr ? *g_seam : desktopSeam();
}

void setSeam(Seam* seam)
{
    g_seam = seam;
}

Answer DesktopSeam::messageBox(const QString& text, MessageKind kind, const QString& title)
{
    QMessageBox box(messageOwner());
    box.setWindowTitle(title);
    box.setText(text);
    QPushButton* yes = nullptr;
    if (kind == MessageKind::Question) {
        box.setIcon(QMessageBox::Question);
        yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setEscapeButton(no);
        box.setDefaultButton(no);
    } else {
        box.setIcon(kind == MessageKind::Stop ? QMessageBox::Critical : QMessageBox::Information);
        QPushButton* ok = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(ok);
        box.setDefaultButton(ok);
    }

    {
        NormalPointerWhileWaiting pointer;
        box.exec();
    }
    if (kind == MessageKind::Question) {
        return box.clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    return Answer::OK;
}

int DesktopSeam::showModal(QDialog* dialog)
{
    if (dialog == nullptr) {
        return QDialog::Rejected;
    }
    NormalPointerWhileWaiting pointer;
    return dialog->exec();
}

void DesktopSeam::setBusyCursor(bool busy)
{
    if (busy == m_busy) {
        return;
    }
    m_busy = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void DesktopSeam::beep()
{
    QApplication::beep();
}

QString Seam::chooseFile(bool, const QString&, const QString&, const QString&)
{
    return {};
}

QString DesktopSeam::chooseFile(bool save, const QString& title, const QString& suggested, const QString& filter)
{
    return save ? QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggested, filter)
                : QFileDialog::getOpenFileName(QApplication::activeWindow(), title, suggested, filter);
}

void usePasswordCharacter(QLineEdit* edit, QChar character)
{
    if (edit == nullptr) {
        return;
    }
    // The proxy belongs to the box, so it goes when the box goes.
    auto* style = new PasswordCharacterStyle(nullptr, character);
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool OpenUrl(const QUrl& url)
{
    return url.isValid() && QDesktopServices::openUrl(url);
}

namespace {

std::function<bool(const QString&)>& openerLookup()
{
    static std::function<bool(const QString&)> lookup;
    return lookup;
}

// The desktop's own registry of default programs, through its command-line tool; no tool, no
// answer, no program.
bool desktopHasOpener(const QString& mimeType)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool HasOpenerFor(const QString& file)
{
    const QString mimeType = QMimeDatabase().mimeTypeForFile(file).name();
    return openerLookup() ? openerLookup()(mimeType) : desktopHasOpener(mimeType);
}

void setOpenerLookup(std::function<bool(const QString& mimeType)> lookup)
{
    openerLookup() = std::move(lookup);
}

} // namespace platform
