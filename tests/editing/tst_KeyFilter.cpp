#include "KeyFilter.h"
#include "Platform.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

class RecordingSeam : public platform::Seam
{
public:
    int messageBox(const QString& text, int flags, const QString& title) override
    {
        messages << QStringLiteral("%1|%2|%3").arg(text).arg(flags).arg(title);
        return platform::vbOK;
    }
    int showModal(QDialog* /*dialog*/) override { return 0; }
    void setBusyCursor(bool /*busy*/) override {}
    void beep() override { ++beeps; }

    int beeps = 0;
    QStringList messages;
};

// A dialog with one filtered field and a default button, as the edit dialogs have them.
struct FieldDialog
{
    explicit FieldDialog(const QString& kind, const QString& mode)
    {
        auto* layout = new QVBoxLayout(&dialog);
        if (kind == QLatin1String("combo")) {
            auto* combo = new QComboBox;
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems({"Bob", "Mary"});
            combo->setCurrentIndex(-1);
            field = combo;
            lineEdit = combo->lineEdit();
        } else {
            lineEdit = new QLineEdit;
            field = lineEdit;
        }
        layout->addWidget(field);
        ok = new QPushButton("OK");
        ok->setDefault(true);
        layout->addWidget(ok);
        KeyFilter::install(field, mode);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        field->setFocus();
    }

    QDialog dialog;
    QWidget* field = nullptr;
    QLineEdit* lineEdit = nullptr;
    QPushButton* ok = nullptr;
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

class tst_KeyFilter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedCharactersAreFiltered_data();
    void typedCharactersAreFiltered();
    void keysSentToTheComboLineEditAreFilteredOnce();
    void editingAndNavigationKeysPass_data();
    void editingAndNavigationKeysPass();
    void enterAndEscReachTheDialog_data();
    void enterAndEscReachTheDialog();
    void pastedTextIsFilteredAndNeverCut_data();
    void pastedTextIsFilteredAndNeverCut();
    void composedTextIsFiltered();

private:
    RecordingSeam m_seam;
};

void tst_KeyFilter::init()
{
    m_seam = RecordingSeam();
    platform::setSeam(&m_seam);
}

void tst_KeyFilter::cleanup()
{
    platform::setSeam(nullptr);
}

void tst_KeyFilter::typedCharactersAreFiltered_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");

    for (const QString kind : {"line", "combo"}) {
        const QByteArray k = kind.toUtf8() + ": ";
        QTest::newRow(k + "card number") << kind << "Number"
                                         << "41 1a.1"
                                         << "4111" << 3;
        QTest::newRow(k + "name") << kind << "Letters"
                                  << "Mary-Jo O'Neil Jr."
                                  << "Mary-Jo O'Neil Jr." << 0;
        QTest::newRow(k + "digits refused") << kind << "Letters"
                                            << "R2D2"
                                            << "RD" << 2;
        QTest::newRow(k + "state") << kind << "UpperCase"
                                   << "ny"
                                   << "NY" << 0;
        QTest::newRow(k + "account") << kind << "MixUpperCase"
                                     << "ab12"
                                     << "AB12" << 0;
        QTest::newRow(k + "mixed keeps case") << kind << "Mix"
                                              << "aB 1"
                                              << "aB 1" << 0;
        QTest::newRow(k + "accented and euro") << kind << "Mix" << QString::fromUtf8("é€Ω") << "" << 3;
        QTest::newRow(k + "unfiltered") << kind << "" << QString::fromUtf8("é€Ω?") << QString::fromUtf8("é€Ω?") << 0;
        QTest::newRow(k + "e-mail login") << kind << "Printable"
                                          << "jo@x.com_P!1#"
                                          << "jo@x.com_P!1#" << 0;
        QTest::newRow(k + "any script") << kind << "Printable" << QString::fromUtf8("Zoë 東京 Ω€")
                                        << QString::fromUtf8("Zoë 東京 Ω€") << 0;
    }
}

void tst_KeyFilter::typedCharactersAreFiltered()
{
    QFETCH(QString, kind);
    QFETCH(QString, mode);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);

    FieldDialog d(kind, mode);
    type(d.field, typed);
    QCOMPARE(d.lineEdit->text(), shown);
    QCOMPARE(m_seam.beeps, beeps);
}

void tst_KeyFilter::keysSentToTheComboLineEditAreFilteredOnce()
{
    FieldDialog d("combo", "UpperCase");
    type(d.lineEdit, "n1y");
    QCOMPARE(d.lineEdit->text(), QString("NY"));
    QCOMPARE(m_seam.beeps, 1);
}

void tst_KeyFilter::editingAndNavigationKeysPass_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("line") << "line";
    QTest::newRow("combo") << "combo";
}

void tst_KeyFilter::editingAndNavigationKeysPass()
{
    QFETCH(QString, kind);
    FieldDialog d(kind, "Number");
    type(d.field, "123");

    QTest::keyClick(d.field, Qt::Key_Backspace);
    QCOMPARE(d.lineEdit->text(), QString("12"));
    QTest::keyClick(d.field, Qt::Key_Home);
    QCOMPARE(d.lineEdit->cursorPosition(), 0);
    QTest::keyClick(d.field, Qt::Key_Delete);
    QCOMPARE(d.lineEdit->text(), QString("2"));
    QTest::keyClick(d.field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(d.lineEdit->text(), QString("12"));
    QTest::keyClick(d.field, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(d.lineEdit->selectedText(), QString("12"));
    QCOMPARE(m_seam.beeps, 0);
}

void tst_KeyFilter::enterAndEscReachTheDialog_data()
{
    editingAndNavigationKeysPass_data();
}

void tst_KeyFilter::enterAndEscReachTheDialog()
{
    QFETCH(QString, kind);
    FieldDialog d(kind, "Letters");
    QSignalSpy clicked(d.ok, &QPushButton::clicked);
    QTest::keyClick(d.field, Qt::Key_Return);
    QCOMPARE(clicked.count(), 1);

    QSignalSpy rejected(&d.dialog, &QDialog::rejected);
    QTest::keyClick(d.field, Qt::Key_Escape);
    QCOMPARE(rejected.count(), 1);
    QCOMPARE(m_seam.beeps, 0);
}

void tst_KeyFilter::pastedTextIsFilteredAndNeverCut_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("refused");

    for (const char* way : {"ctrl+v", "shift+insert", "menu", "drop"}) {
        const QByteArray w = QByteArray(way) + ": ";
        QTest::newRow(w + "card number") << way << "Number"
                                         << "4111 11-1 a"
                                         << "ab4111111" << 1 << false;
        QTest::newRow(w + "login with a line end") << way << "Printable"
                                                   << "jo@x.com\n"
                                                   << "abjo@x.com" << 1 << false;
        QTest::newRow(w + "fills the box") << way << "Printable"
                                           << "12345678"
                                           << "ab12345678" << 0 << false;
        QTest::newRow(w + "longer than the box") << way << "Printable"
                                                 << "123456789"
                                                 << "ab" << 0 << true;
    }
}

// Every way of pasting goes through the filter; what does not fit is refused whole, with a word.
void tst_KeyFilter::pastedTextIsFilteredAndNeverCut()
{
    QFETCH(QString, way);
    QFETCH(QString, mode);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    QFETCH(bool, refused);
    FieldDialog d("combo", mode);
    d.lineEdit->setMaxLength(10);
    // Text the program puts in is not filtered.
    d.lineEdit->setText("ab");
    QGuiApplication::clipboard()->setText(pasted);
    if (way == "ctrl+v") {
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
        data.setText(pasted);
        const QPoint end(d.lineEdit->width() - 2, 5);
        QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d.lineEdit, &enter);
        QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(d.lineEdit, &drop);
    }
    QCOMPARE(d.lineEdit->text(), shown);
    QCOMPARE(m_seam.beeps, beeps);
    QCOMPARE(m_seam.messages.size(), refused ? 1 : 0);
}

// Characters composed by an input method arrive as committed text rather than as key presses.
void tst_KeyFilter::composedTextIsFiltered()
{
    FieldDialog d("line", "UpperCase");
    QInputMethodEvent accepted;
    accepted.setCommitString("ny");
    QApplication::sendEvent(d.lineEdit, &accepted);
    QCOMPARE(d.lineEdit->text(), QString("NY"));
    QCOMPARE(m_seam.beeps, 0);

    QInputMethodEvent refused;
    refused.setCommitString(QString::fromUtf8("né"));
    QApplication::sendEvent(d.lineEdit, &refused);
    QCOMPARE(d.lineEdit->text(), QString("NYN"));
    QCOMPARE(m_seam.beeps, 1);
}

QTEST_MAIN(tst_KeyFilter)
#include "tst_KeyFilter.moc"
