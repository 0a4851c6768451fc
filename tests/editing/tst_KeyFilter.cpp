#include "KeyFilter.h"
#include "ScriptedSeam.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using testsupport::row;

namespace {

// A dialog with one filtered field, a line or an editable list, as the edit dialogs have them.
struct FieldDialog
{
    explicit FieldDialog(const QString& kind, const QString& mode)
    {
        auto* layout = new QVBoxLayout(&dialog);
        if (kind == QLatin1String("combo")) {
            auto* combo = new QComboBox;
            combo->setEditable(true);
            combo->addItems({"Bob", "Mary"});
            combo->setCurrentIndex(-1);
            field = combo;
            lineEdit = combo->lineEdit();
        } else {
            field = lineEdit = new QLineEdit;
        }
        layout->addWidget(field);
        KeyFilter::install(field, mode);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        field->setFocus();
    }

    QDialog dialog;
    QWidget* field = nullptr;
    QLineEdit* lineEdit = nullptr;
};

// Types each character as the desktop delivers it: a key press carrying the character's text.
void type(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        const auto key = c.isLetterOrNumber() && c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace

// The filter as it sits on a field; the rules themselves are tabled in tst_InputRules, and keys that
// edit rather than type pass it in the real-window test.
class tst_KeyFilter : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testsupport::ScriptedSeam> m_seam;

private slots:
    void init() { m_seam = std::make_unique<testsupport::ScriptedSeam>(); }
    void cleanup() { m_seam.reset(); }

    // Every way text gets into a field goes through the filter; pasted text that does not fit is
    // refused whole, with a word. The field holds "ab" already: text the program puts in is not filtered.
    void everyWayInIsFiltered_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<bool>("refused");
        for (const char* kind : {"line", "combo"}) {
            const QByteArray k = QByteArray(kind) + ", typed: ";
            row(k + "card number", kind, "type", "Number", "41 1a.1", "ab4111", 3, false);
            row(k + "state", kind, "type", "UpperCase", "ny", "abNY", 0, false);
            row(k + "unfiltered", kind, "type", "", QString::fromUtf8("é€Ω?"), QString::fromUtf8("abé€Ω?"), 0, false);
        }
        for (const char* way : {"ctrl+v", "shift+insert", "menu", "drop"}) {
            const QByteArray w = QByteArray(way) + ": ";
            row(w + "card number", "combo", way, "Number", "4111 11-1 a", "ab4111111", 1, false);
            row(w + "fills the box", "combo", way, "Printable", "12345678", "ab12345678", 0, false);
            row(w + "longer than the box", "combo", way, "Printable", "123456789", "ab", 0, true);
        }
        row("login with a line end", "line", "ctrl+v", "Printable", "jo@x.com\n", "abjo@x.com", 1, false);
        // Characters composed by an input method arrive as committed text rather than as key presses.
        row("composed", "line", "compose", "UpperCase", QString::fromUtf8("nyé"), "abNY", 1, false);
    }
    void everyWayInIsFiltered()
    {
        QFETCH(QString, kind);
        QFETCH(QString, way);
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, beeps);
        QFETCH(bool, refused);
        FieldDialog d(kind, mode);
        d.lineEdit->setMaxLength(10);
        d.lineEdit->setText("ab");
        QGuiApplication::clipboard()->setText(text);
        if (way == "type") {
            type(d.field, text);
        } else if (way == "compose") {
            QInputMethodEvent composed;
            composed.setCommitString(text);
            QApplication::sendEvent(d.lineEdit, &composed);
        } else if (way == "ctrl+v") {
            QTest::keyClick(d.field, Qt::Key_V, Qt::ControlModifier);
        } else if (way == "shift+insert") {
            QTest::keyClick(d.field, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (way == "menu") {
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(2, 2), d.lineEdit->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(d.lineEdit, &menuKey);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text().startsWith("&Paste")) {
                    action->trigger();
                }
            }
            menu->close();
        } else {
            QMimeData data;
            data.setText(text);
            const QPoint end(d.lineEdit->width() - 2, 5);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(d.lineEdit, &enter);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(d.lineEdit, &drop);
        }
        QCOMPARE(d.lineEdit->text(), shown);
        QCOMPARE(m_seam->beeps, beeps);
        QCOMPARE(m_seam->messages.size(), refused ? 1 : 0);
    }
};

QTEST_MAIN(tst_KeyFilter)
#include "tst_KeyFilter.moc"
