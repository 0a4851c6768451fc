#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

class QMimeData;

// Puts values on the desktop's clipboard. A secret (password, PIN, card number) is marked for
// clipboard managers to keep out of their history and is taken off the clipboard again after a
// delay, when the program locks and when it ends: each time only if the clipboard still holds it,
// so that whatever the person copied since stays.
class SecretClipboard : public QObject
{
    Q_OBJECT

public:
    explicit SecretClipboard(QObject* parent = nullptr);
    // Takes a secret still on the clipboard along.
    ~SecretClipboard() override;

    // Seconds a secret stays; 0 leaves it until the lock or the end.
    void setSeconds(int seconds) { m_seconds = seconds; }
    int seconds() const { return m_seconds; }

    void copy(const QString& text, bool secret);
    // Empties the clipboard if it still holds the secret copied last; true when it did.
    bool clearSecret();
    // Whether the clipboard holds the secret copied last.
    bool holdsSecret() const;

    // The format clipboard managers read to leave a value out of their history.
    static const QString kHintFormat;

private:
    QByteArray fingerprint(const QString& text) const;

    int m_seconds = 10;
    QTimer m_timer;
    // A keyed hash of the secret copied last, never the secret itself.
    QByteArray m_key;
    QByteArray m_copied;
};
