// The clipboard of a real X server: a copied secret is there before the delay, marked for
// clipboard managers, gone after it or at the lock, and left alone when something else was copied
// meanwhile, by this program or by another one. Run under its own X server (xvfb-run).

#include "SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <cstring>

namespace {

QString clipboardText()
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

// Another program that copies a text and keeps the clipboard until it is killed.
int holdClipboard(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(argv[2]), QClipboard::Clipboard);
    std::printf("copied\n");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

class tst_SecretClipboard : public QObject
{
    Q_OBJECT

private slots:
    void clearsOnlyItsOwnSecret_data()
    {
        QTest::addColumn<bool>("secret");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("left"); // on the clipboard a second after the delay
        const auto row = [](const char* name, bool secret, int seconds, const char* meanwhile, const char* left) {
            QTest::newRow(name) << secret << seconds << meanwhile << left;
        };
        row("a secret goes after the delay", true, 1, "", "");
        row("the lock takes it at once", true, 0, "lock", "");
        row("no delay: kept until the lock", true, 0, "", "pw-Xq9!z");
        row("not a secret: kept", false, 1, "", "pw-Xq9!z");
        row("copied over in the program: kept", true, 1, "copy here", "mine");
        row("copied over by another program: kept", true, 1, "copy elsewhere", "theirs");
        row("the lock leaves another program's copy", true, 1, "copy elsewhere, lock", "theirs");
    }
    void clearsOnlyItsOwnSecret()
    {
        QFETCH(bool, secret);
        QFETCH(int, seconds);
        QFETCH(QString, meanwhile);
        QFETCH(QString, left);
        SecretClipboard clipboard;
        clipboard.setSeconds(seconds);
        clipboard.copy(QStringLiteral("pw-Xq9!z"), secret);
        QCOMPARE(clipboardText(), QStringLiteral("pw-Xq9!z"));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        QCOMPARE(data->data(SecretClipboard::kHintFormat), secret ? QByteArray("secret") : QByteArray());

        QProcess other;
        if (meanwhile.contains(QLatin1String("copy elsewhere"))) {
            other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), QStringLiteral("theirs")});
            QVERIFY(other.waitForReadyRead(10000));
            QTRY_VERIFY(!QGuiApplication::clipboard()->ownsClipboard());
        } else if (meanwhile == QLatin1String("copy here")) {
            QGuiApplication::clipboard()->setText(QStringLiteral("mine"));
        }
        if (meanwhile.contains(QLatin1String("lock"))) {
            clipboard.clearSecret();
        } else if (seconds > 0) {
            // Still there just before the delay ends.
            QTest::qWait(seconds * 1000 - 300);
            QCOMPARE(clipboardText(), meanwhile.isEmpty() ? QStringLiteral("pw-Xq9!z") : QString(left));
        }
        QTest::qWait(seconds * 1000 + 1000);
        QCOMPARE(clipboardText(), left);
        other.kill();
        other.waitForFinished();
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0) {
        return holdClipboard(argc, argv);
    }
    QGuiApplication app(argc, argv);
    tst_SecretClipboard test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SecretClipboard.moc"
