#include "WebLinkLabel.h"

#include "Platform.h"

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
    if (m_address.trimmed().isEmpty()) {
        return false;
    }
    return platform::OpenUrl(QUrl(m_address.trimmed(), QUrl::TolerantMode));
}
