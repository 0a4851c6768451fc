#include "SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <sodium.h>

const QString SecretClipboard::kHintFormat = QStringLiteral("x-kde-passwordManagerHint");

SecretClipboard::SecretClipboard(QObject* parent) : QObject(parent), m_key(crypto_generichash_KEYBYTES, '\0')
{
    randombytes_buf(m_key.data(), static_cast<size_t>(m_key.size()));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SecretClipboard::clearSecret);
}

SecretClipboard::~SecretClipboard()
{
    clearSecret();
}

QByteArray SecretClipboard::fingerprint(const QString& text) const
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray hash(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(hash.data()), static_cast<size_t>(hash.size()),
                       reinterpret_cast<const unsigned char*>(utf8.constData()), static_cast<size_t>(utf8.size()),
                       reinterpret_cast<const unsigned char*>(m_key.constData()), static_cast<size_t>(m_key.size()));
    return hash;
}

void SecretClipboard::copy(const QString& text, bool secret)
{
    auto* data = new QMimeData;
    data->setText(text);
    if (secret) {
        data->setData(kHintFormat, QByteArrayLiteral("secret"));
    }
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    m_timer.stop();
    m_copied = secret ? fingerprint(text) : QByteArray();
    if (secret && m_seconds > 0) {
        m_timer.start(m_seconds * 1000);
    }
}

bool SecretClipboard::holdsSecret() const
{
    if (m_copied.isEmpty()) {
        return false;
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    // Another program's copy is not read at all: it cannot be ours.
    if (!clipboard->ownsClipboard()) {
        return false;
    }
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    return data != nullptr && data->hasFormat(kHintFormat) && fingerprint(data->text()) == m_copied;
}

bool SecretClipboard::clearSecret()
{
    m_timer.stop();
    const bool ours = holdsSecret();
    m_copied.clear();
    if (ours) {
        QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    }
    return ours;
}
