// A plain text box for the real-window test, standing for any program a person pastes into or
// copies from: each Enter prints what the box holds (an empty line for nothing) and empties it.
// Given a text, it puts that on the clipboard first, as a person copying it would.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit box;
    box.setWindowTitle(QStringLiteral("Paste Box"));
    box.setMinimumWidth(400);
    QObject::connect(&box, &QLineEdit::returnPressed, &box, [&box] {
        std::printf("%s\n", box.text().toUtf8().constData());
        std::fflush(stdout);
        box.clear();
    });
    if (argc > 1) {
        QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(argv[1]));
    }
    box.show();
    return app.exec();
}
