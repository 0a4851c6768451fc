#pragma once

#include <QLabel>
#include <QString>

// A label that shows a caption as a link and opens its address with the desktop's browser when
// clicked. Caption and address are plain texts of the user's; neither is read as markup.
class WebLinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WebLinkLabel(QWidget* parent = nullptr);

    void setLink(const QString& caption, const QString& address);
    QString caption() const { return m_caption; }
    QString address() const { return m_address; }

    // Opens the address; false when it is empty, the user said No, or no program took it.
    // A web page (http, https) and an e-mail address (mailto) open at once; an address of any
    // other scheme may start any program the desktop has for it, so the user is asked first,
    // with the address shown.
    bool openLink() const;

private:
    QString m_caption;
    QString m_address;
};
