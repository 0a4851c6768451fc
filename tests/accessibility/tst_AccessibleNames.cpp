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

// One data row per line; the rule window has no key.
void row(const char* window, const char* control, const char* expected, const char* rule = nullptr)
{
    QTest::addRow("%s", rule != nullptr ? rule : qPrintable(QStringLiteral("%1 %2").arg(window, control)))
        << QString::fromLatin1(window) << QString::fromLatin1(control) << QString::fromUtf8(expected);
}

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
    void controlsAreNamed_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("expected");
        row("", "mnemonic", "Password", "label without mnemonic marker and colon");
        row("", "combo", "Web Account", "label before the tooltip, blanks trimmed");
        row("", "ampersand", "Salt & Pepper", "double ampersand is one");
        row("", "rich", "Bold caption", "rich caption read as plain text");
        row("", "farLabel", "Far Caption", "label outside the field's frame");
        row("", "tipInFrame", "Web Site Name", "tooltip before frame");
        row("", "bareInFrame", "Web Site", "frame caption when nothing else");
        row("", "iconOnly", "Set Password", "picture-only button by tooltip");
        row("", "textButton", "OK", "button showing text by its text");
        row("", "picture", "Visa", "picture by tooltip");
        row("", "kept", "Kept", "earlier name kept");
        row("", "listed", "From the table", "table replaces earlier name");
        row("", "notes", "Notes", "notes box by label, Tab leaves it");
        // In the real forms the label that names a field is its buddy; one field of each kind per window.
        row("Personal", "sle_Name", "Name");
        row("Personal", "ddlb_State", "State");
        row("Credit", "sle_CreditCard", "Credit Card Name");
        row("Credit", "ob_CreditCard_3", "American Express");
        row("Credit", "ddlb_AccountName", "Name on Card");
        row("Credit", "mle_Notes", "Notes");
        row("Travel", "sle_PIN", "PIN");
        row("Web", "sle_URL", "Web Address");
        row("Web", "ddlb_Password", "Password");
        row("Login", "sle_Password", "Password");
        row("Password", "sle_NewPasswordAgain", "Re-type Password");
        row("About", "cb_SysInfo", "System Info...");
    }
    void controlsAreNamed()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, expected);
        testsupport::ScriptedSeam seam;
        auto shown = window.isEmpty() ? ruleWindow() : accesscheck::makeWindow(window);
        auto* widget = shown->findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        QCOMPARE(nameOf(widget), expected);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(nameOf(combo->lineEdit()), expected);
        }
        if (auto* notes = qobject_cast<QPlainTextEdit*>(widget)) {
            QVERIFY2(notes->tabChangesFocus(), "Tab would stay in the notes box");
        }
    }

    void nameOutlivesTooltipChanges()
    {
        // The hover help rewrites tooltips and clears them on empty fields.
        auto window = ruleWindow();
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("tipInFrame"));
        field->setToolTip(QString());
        QCOMPARE(nameOf(field), QStringLiteral("Web Site Name"));
        accessibility::nameControls(window.get());
        QCOMPARE(nameOf(field), QStringLiteral("Web Site Name"));
    }

    void everyControlOfEveryWindowIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        for (const QString& key : accesscheck::windowKeys()) {
            QTest::newRow(qPrintable(key)) << key;
        }
    }
    void everyControlOfEveryWindowIsNamed()
    {
        QFETCH(QString, window);
        testsupport::ScriptedSeam seam;
        auto shown = accesscheck::makeWindow(window);
        const QStringList unnamed = accesscheck::unnamedControls(shown.get());
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(tst_AccessibleNames)
#include "tst_AccessibleNames.moc"
