#include "HoverHelp.h"
#include "cMouseTrack.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

constexpr int HoverMs = 30;

struct Help
{
    const char* field;
    const char* text;
    bool evenWhenEmpty;
};

// The fields in the order their trackers are made, with their help texts.
const Help kHelp[] = {
    {"sle_Name", "Name of the user", true},
    {"sle_Address", "Address of the user", false},
    {"sle_City", "City of the user", false},
    {"sle_State", "State of the user", false},
    {"sle_ZipCode", "Zip code of the user", false},
    {"sle_DefaultEMailAddress", "E-mail address of the user", false},
    {"sle_PhoneNumber", "Phone number of the user", false},
    {"sle_CreditAccountName", "Name on the account", false},
    {"sle_CreditAccountNumber", "Account number", false},
    {"sle_CreditCard", "Credit Card Name", true},
    {"sle_CreditExpirationDate", "Account expiration date", false},
    {"sle_CreditPhoneNumber", "Phone number of credit card company", false},
    {"sle_TravelAccountName", "Name on the travel account", false},
    {"sle_TravelAccountNumber", "Account number", false},
    {"sle_TravelPhoneNumber", "Phone number of the travel program", false},
    {"sle_TravelProgram", "Travel Program Name", true},
    {"sle_TravelProgramType", "Travel program type", false},
    {"sle_TravelPINNumber", "PIN Number for the travel program", false},
    {"sle_TravelWebAccount", "Web account for this travel program", false},
    {"sle_WebAccount", "Web Account Name", true},
    {"sle_WebLogin", "Login name for the web account", false},
    {"sle_WebPassword", "Password for the web account", false},
    {"sle_WebSiteType", "Type of web site", false},
    {"sle_WebEMailAddress", "E-mail address for the web account", false},
};

const QColor kBlue(0, 0, 255);
// The text colour of a dark desktop theme; a field takes it again when the pointer leaves.
const QColor kThemeText(230, 230, 230);

} // namespace

class tst_HoverHelp : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<HoverHelp> m_help;
    bool m_masking = true;

    QLineEdit* field(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    static QColor colour(const QLineEdit* edit) { return edit->palette().color(QPalette::Text); }
    void moveTo(QWidget* w, QPoint offset = {})
    {
        QTest::mouseMove(m_window->windowHandle(), w->mapTo(m_window.get(), w->rect().center() + offset));
    }
    void moveAway() { QTest::mouseMove(m_window->windowHandle(), QPoint(5, m_window->height() - 5)); }
    void make(bool withQuery)
    {
        m_window = std::make_unique<QWidget>();
        QPalette dark = m_window->palette();
        dark.setColor(QPalette::Text, kThemeText);
        m_window->setPalette(dark);
        m_window->resize(4 * 160, 6 * 30 + 40);
        int i = 0;
        for (const Help& help : kHelp) {
            auto* edit = new QLineEdit(m_window.get());
            edit->setObjectName(QString::fromLatin1(help.field));
            edit->setGeometry((i % 4) * 160, (i / 4) * 30, 150, 24);
            ++i;
        }
        // The window masks before the hover help starts.
        for (const char* secret : {"sle_WebPassword", "sle_TravelPINNumber"}) {
            field(QString::fromLatin1(secret))->setEchoMode(m_masking ? QLineEdit::Password : QLineEdit::Normal);
        }
        m_help = std::make_unique<HoverHelp>(
            m_window.get(), withQuery ? HoverHelp::MaskQuery([this] { return m_masking; }) : HoverHelp::MaskQuery());
        m_help->setHoverTime(HoverMs);
        m_help->wf_SetUpMouseTrack();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        moveAway();
    }

private slots:
    void init() { m_masking = true; }
    void cleanup()
    {
        m_help.reset();
        m_window.reset();
    }

    void restingShowsTheHelpText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        for (const Help& help : kHelp) {
            const QString name = QString::fromLatin1(help.field);
            const QString text = QString::fromLatin1(help.text);
            QTest::addRow("%s filled", help.field) << name << "x" << text;
            QTest::addRow("%s empty", help.field) << name << "" << (help.evenWhenEmpty ? text : QString());
        }
    }
    void restingShowsTheHelpText()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        make(true);
        QLineEdit* edit = field(name);
        edit->setText(text);
        // What an earlier rest left; a rest on an empty field must take it away.
        edit->setToolTip(QStringLiteral("earlier"));
        QSignalSpy hover(m_help->tracker(name), &cMouseTrack::MouseHover);

        moveTo(edit);
        QCOMPARE(colour(edit), kBlue);
        QTRY_VERIFY(!hover.isEmpty());
        QCOMPARE(edit->toolTip(), tooltip);
        QCOMPARE(colour(edit), kBlue);
        // Started again from the hover: a further rest is reported too.
        QVERIFY(m_help->tracker(name)->Tracking());

        moveAway();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->toolTip(), tooltip);
    }

    void crossingWithoutRestingSetsNoTooltip()
    {
        make(true);
        QLineEdit* city = field(QStringLiteral("sle_City"));
        city->setText(QStringLiteral("Springfield"));
        moveTo(city);
        QCOMPARE(colour(city), kBlue);
        moveTo(city, QPoint(10, 0));
        moveAway();
        QTRY_COMPARE(colour(city), kThemeText);
        QTest::qWait(5 * HoverMs);
        QVERIFY(city->toolTip().isEmpty());
    }

    void secretFieldsInClearWhileThePointerIsOnThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("masking");
        QTest::addColumn<bool>("query");
        for (const char* name : {"sle_WebPassword", "sle_TravelPINNumber"}) {
            QTest::addRow("%s masked", name) << QString::fromLatin1(name) << true << true;
            QTest::addRow("%s in clear", name) << QString::fromLatin1(name) << false << true;
            QTest::addRow("%s masked, read from the field", name) << QString::fromLatin1(name) << true << false;
            QTest::addRow("%s in clear, read from the field", name) << QString::fromLatin1(name) << false << false;
        }
    }
    void secretFieldsInClearWhileThePointerIsOnThem()
    {
        QFETCH(QString, name);
        QFETCH(bool, masking);
        QFETCH(bool, query);
        m_masking = masking;
        make(query);
        QLineEdit* edit = field(name);
        edit->setText(QStringLiteral("s3cr3t"));
        const QLineEdit::EchoMode masked = masking ? QLineEdit::Password : QLineEdit::Normal;

        moveTo(edit);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        QTRY_VERIFY(!edit->toolTip().isEmpty());
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        moveAway();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->echoMode(), masked);

        // A page change hides the field under the pointer: it must not stay in clear.
        moveTo(edit);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        edit->hide();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->echoMode(), masked);
    }
};

QTEST_MAIN(tst_HoverHelp)
#include "tst_HoverHelp.moc"
