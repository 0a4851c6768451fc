#include "DocumentWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

void ShowDocumentWindow(const QString& file, QWidget* owner)
{
    auto* window = new QWidget(owner, Qt::Window);
    window->setObjectName(QStringLiteral("frm_Document"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("txt_Document"));
    // Links leave for the browser when there is one; a page never navigates inside this window.
    text->setOpenExternalLinks(true);
    QFile in(file);
    const QString content = in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    if (QFileInfo(file).suffix().compare(QLatin1String("html"), Qt::CaseInsensitive) == 0) {
        text->setHtml(content);
    } else {
        text->setPlainText(content);
    }
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    const QString title = text->documentTitle();
    window->setWindowTitle(title.isEmpty() ? QFileInfo(file).fileName() : title);
    // Above a main window that is kept on top, not hidden behind it.
    if (owner != nullptr && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        window->setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    window->resize(640, 600);
    window->show();
}
