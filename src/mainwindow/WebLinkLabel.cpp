#include "WebLinkLabel.h"

#include "Platform.h"

#include <QStringList>
#include <QUrl>

WebLinkLabel::WebLinkLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setOpenExternalLinks(false);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::NoFocus);
    // The href only marks the text as a link; the address itself is kept apart, so that no
    // text of the user's ever passes through markup.
    connect(this, &QLabel::linkActivated, this, [this] { openLink(); });
}

void WebLinkLabel::setLink(const QString& caption, const QString& address)
{
    m_caption = caption;
    m_address = address;
    setToolTip(QString());
    if (caption.isEmpty()) {
        setText(QString());
        return;
    }
    setText(QStringLiteral("<a href=\"#link\">") + caption.toHtmlEscaped() + QStringLiteral("</a>"));
}

bool WebLinkLabel::openLink() const
{
    const QString address = m_address.trimmed();
    if (address.isEmpty()) {
        return false;
    }
    const QUrl url(address, QUrl::TolerantMode);
    static const QStringList plain{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
    if (!plain.contains(url.scheme().toLower())) {
        const QString question = QStringLiteral("This address is neither a web page nor an e-mail address:\n\n%1\n\n"
                                                "Open it with the program the desktop has for it?")
                                     .arg(address);
        if (platform::ShowMessage(question, platform::MessageKind::Question, QStringLiteral("Corvanta")) !=
            platform::Answer::Yes) {
            return false;
        }
    }
    return platform::OpenUrl(url);
}
