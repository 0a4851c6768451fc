// A plain text box for the real-window test, standing for any program a person pastes into: each
// Enter prints what the box holds (an empty line for nothing) and empties it.

#include <QApplication>
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
    box.show();
    return app.exec();
}
