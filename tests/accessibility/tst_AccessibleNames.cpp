#include "AboutTexts.h"
#include "AccessCheck.h"
#include "Accessibility.h"
#include "ScriptedSeam.h"
#include "Windows.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using accesscheck::nameOf;

namespace {

template <typename T> T* add(QWidget* parent, const QString& name)
{
    auto* widget = new T(parent);
    widget->setObjectName(name);
    if (parent->layout() != nullptr) {
        parent->layout()->addWidget(widget);
    }
    return widget;
}

QLabel* labelFor(QWidget* parent, const QString& caption, QWidget* buddy)
{
    auto* label = add<QLabel>(parent, QStringLiteral("label_") + buddy->objectName());
    label->setText(caption);
    label->setBuddy(buddy);
    return label;
}

// One window with a control for each way a control can come by its name.
std::unique_ptr<QWidget> ruleWindow()
{
    auto window = std::make_unique<QWidget>();
    new QVBoxLayout(window.get());

    labelFor(window.get(), QStringLiteral("&Password:"), add<QLineEdit>(window.get(), QStringLiteral("mnemonic")));
    auto* combo = add<QComboBox>(window.get(), QStringLiteral("combo"));
    combo->setEditable(true);
    combo->setToolTip(QStringLiteral("Web Account related to the travel program"));
    labelFor(window.get(), QStringLiteral(" Web Account"), combo);
    labelFor(window.get(), QStringLiteral("Salt && Pepper"), add<QLineEdit>(window.get(), QStringLiteral("ampersand")));
    labelFor(window.get(), QStringLiteral("<b>Bold</b> caption"), add<QLineEdit>(window.get(), QStringLiteral("rich")));

    // The label and its field in different frames: the label is no sibling of the field.
    auto* left = add<QGroupBox>(window.get(), QStringLiteral("left"));
    new QVBoxLayout(left);
    auto* right = add<QGroupBox>(window.get(), QStringLiteral("right"));
    right->setTitle(QStringLiteral("Right"));
    new QVBoxLayout(right);
    labelFor(left, QStringLiteral("Far Caption"), add<QLineEdit>(right, QStringLiteral("farLabel")));

    auto* frame = add<QGroupBox>(window.get(), QStringLiteral("frame"));
    frame->setTitle(QStringLiteral("Web &Site"));
    new QVBoxLayout(frame);
    add<QLineEdit>(frame, QStringLiteral("tipInFrame"))->setToolTip(QStringLiteral("Web Site Name"));
    add<QLineEdit>(frame, QStringLiteral("bareInFrame"));

    auto* tool = add<QToolButton>(window.get(), QStringLiteral("iconOnly"));
    tool->setText(QStringLiteral("Password"));
    tool->setIcon(QIcon(QPixmap(16, 16)));
    tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tool->setToolTip(QStringLiteral("Set Password"));
    auto* ok = add<QPushButton>(window.get(), QStringLiteral("textButton"));
    ok->setText(QStringLiteral("&OK"));
    ok->setToolTip(QStringLiteral("Accept"));

    auto* picture = add<QLabel>(window.get(), QStringLiteral("picture"));
    QPixmap card(20, 12);
    card.fill(Qt::blue);
    picture->setPixmap(card);
    picture->setToolTip(QStringLiteral("Visa"));

    auto* kept = add<QLineEdit>(window.get(), QStringLiteral("kept"));
    kept->setAccessibleName(QStringLiteral("Kept"));
    kept->setToolTip(QStringLiteral("Tip"));
    auto* listed = add<QLineEdit>(window.get(), QStringLiteral("listed"));
    listed->setAccessibleName(QStringLiteral("Earlier"));
    listed->setToolTip(QStringLiteral("Tip"));

    labelFor(window.get(), QStringLiteral("Notes"), add<QPlainTextEdit>(window.get(), QStringLiteral("notes")));

    accessibility::nameControls(window.get(), {{QStringLiteral("listed"), QStringLiteral("From the table")}});
    return window;
}

} // namespace

class tst_AccessibleNames : public QObject
{
    Q_OBJECT

private slots:
    void eachRuleNamesItsControl_data();
    void eachRuleNamesItsControl();
    void nameOutlivesTooltipChanges();
    void everyControlOfEveryWindowIsNamed_data();
    void everyControlOfEveryWindowIsNamed();
    void controlsSayWhatTheyAre_data();
    void controlsSayWhatTheyAre();
};

void tst_AccessibleNames::eachRuleNamesItsControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    QTest::newRow("label without mnemonic marker and colon") << "mnemonic"
                                                             << "Password";
    QTest::newRow("label before the tooltip, blanks trimmed") << "combo"
                                                              << "Web Account";
    QTest::newRow("double ampersand is one") << "ampersand"
                                             << "Salt & Pepper";
    QTest::newRow("rich caption read as plain text") << "rich"
                                                     << "Bold caption";
    QTest::newRow("label outside the field's frame") << "farLabel"
                                                     << "Far Caption";
    QTest::newRow("tooltip before frame") << "tipInFrame"
                                          << "Web Site Name";
    QTest::newRow("frame caption when nothing else") << "bareInFrame"
                                                     << "Web Site";
    QTest::newRow("picture-only button by tooltip") << "iconOnly"
                                                    << "Set Password";
    QTest::newRow("button showing text by its text") << "textButton"
                                                     << "OK";
    QTest::newRow("picture by tooltip") << "picture"
                                        << "Visa";
    QTest::newRow("earlier name kept") << "kept"
                                       << "Kept";
    QTest::newRow("table replaces earlier name") << "listed"
                                                 << "From the table";
    QTest::newRow("notes box by label") << "notes"
                                        << "Notes";
}

void tst_AccessibleNames::eachRuleNamesItsControl()
{
    QFETCH(QString, control);
    QFETCH(QString, expected);
    auto window = ruleWindow();
    auto* widget = window->findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    QCOMPARE(nameOf(widget), expected);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QCOMPARE(nameOf(combo->lineEdit()), expected);
    }
    if (auto* notes = qobject_cast<QPlainTextEdit*>(widget)) {
        QVERIFY2(notes->tabChangesFocus(), "Tab would stay in the notes box");
    }
}

void tst_AccessibleNames::nameOutlivesTooltipChanges()
{
    // The hover help rewrites tooltips and clears them on empty fields.
    auto window = ruleWindow();
    auto* field = window->findChild<QLineEdit*>(QStringLiteral("tipInFrame"));
    field->setToolTip(QString());
    QCOMPARE(nameOf(field), QStringLiteral("Web Site Name"));
    accessibility::nameControls(window.get());
    QCOMPARE(nameOf(field), QStringLiteral("Web Site Name"));
}

void tst_AccessibleNames::everyControlOfEveryWindowIsNamed_data()
{
    QTest::addColumn<QString>("window");
    for (const QString& key : accesscheck::windowKeys()) {
        QTest::newRow(qPrintable(key)) << key;
    }
}

void tst_AccessibleNames::everyControlOfEveryWindowIsNamed()
{
    QFETCH(QString, window);
    testsupport::ScriptedSeam seam;
    auto shown = accesscheck::makeWindow(window);
    const QStringList unnamed = accesscheck::unnamedControls(shown.get());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

void tst_AccessibleNames::controlsSayWhatTheyAre_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* window, const char* control, const QString& expected) {
        QTest::addRow("%s %s", window, control)
            << QString::fromLatin1(window) << QString::fromLatin1(control) << expected;
    };
    row("Personal", "sle_Name", QStringLiteral("Name"));
    row("Personal", "ddlb_State", QStringLiteral("State"));
    row("Personal", "sle_PhoneNumber", QStringLiteral("Phone Number"));
    row("Personal", "Picture1", QStringLiteral("Personal Information"));
    row("Credit", "sle_CreditCard", QStringLiteral("Credit Card Name"));
    row("Credit", "ob_CreditCard_1", QStringLiteral("MasterCard"));
    row("Credit", "ob_CreditCard_3", QStringLiteral("American Express"));
    row("Credit", "ob_CreditCard_5", QStringLiteral("Other"));
    row("Credit", "ddlb_AccountName", QStringLiteral("Name on Card"));
    row("Credit", "sle_ExpirationDate", QStringLiteral("Expiration Date"));
    row("Credit", "mle_Notes", QStringLiteral("Notes"));
    row("Travel", "sle_TravelProgram", QStringLiteral("Travel Program Name"));
    row("Travel", "sle_PIN", QStringLiteral("PIN"));
    row("Travel", "ddlb_WebAccount", QStringLiteral("Web Account"));
    row("Web", "sle_WebSite", QStringLiteral("Web Site Name"));
    row("Web", "sle_URL", QStringLiteral("Web Address"));
    row("Web", "ddlb_Password", QStringLiteral("Password"));
    row("Web", "pb_WebAccountTitle", QStringLiteral("Web Accounts"));
    row("Login", "sle_Password", QStringLiteral("Password"));
    row("Check", "sle_Password", QStringLiteral("Password"));
    row("Password", "sle_OldPassword", QStringLiteral("Old Password"));
    row("Password", "sle_NewPasswordAgain", QStringLiteral("Re-type Password"));
    row("About", "cb_SysInfo", QStringLiteral("System Info..."));
    row("About", "hl_EMailAddress", about::EMailAddress());
    row("About", "picIcon", about::ProgramTitle());
    row("Splash", "pic_Logo", about::ProgramTitle());
}

void tst_AccessibleNames::controlsSayWhatTheyAre()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, expected);
    testsupport::ScriptedSeam seam;
    auto shown = accesscheck::makeWindow(window);
    auto* widget = shown->findChild<QWidget*>(control);
    QVERIFY(widget != nullptr);
    QCOMPARE(nameOf(widget), expected);
}

QTEST_MAIN(tst_AccessibleNames)
#include "tst_AccessibleNames.moc"
