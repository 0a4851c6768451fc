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

int DesktopSeam::messageBox(const QString& text, int flags, const QString& title)
{
    // The flags number packs three choices: buttons in the low bits, the icon in 16..64 and the
    // default button in 256 and up.
    const int buttons = flags & 0x7;
    const int icon = flags & 0x70;
    const bool secondIsDefault = (flags & 0x300) == 0x100;

    QMessageBox box(messageOwner());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }

    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    if (buttons == 4) {
        first = box.addButton(QMessageBox::Yes);
        second = box.addButton(QMessageBox::No);
        box.setEscapeButton(second);
    } else if (buttons == 1) {
        first = box.addButton(QMessageBox::Ok);
        second = box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(second);
    } else {
        first = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(first);
    }
    box.setDefaultButton(secondIsDefault && second != nullptr ? second : first);

    {
        NormalPointerWhileWaiting pointer;
        box.exec();
    }
    const QAbstractButton* clicked = box.clickedButton();
    if (buttons == 4) {
        return clicked == first ? vbYes : vbNo;
    }
    if (buttons == 1) {
        return clicked == first ? vbOK : 2; // 2 is Cancel
    }
    return vbOK;
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
