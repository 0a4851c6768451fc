#include "HoverHelp.h"
#include "TestSupport.h"
#include "cMouseTrack.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

using testsupport::row;

namespace {

constexpr int HoverMs = 30;

// The fields the tests rest on: two name fields, which say what they are even while empty, a
// plain one and the two secret ones.
const HoverHelp::Field kFields[] = {
    {nullptr, "idecl_NameMT", "Name of the user", true, false},
    {nullptr, "idecl_CityMT", "City of the user", false, false},
    {nullptr, "idecl_CreditCardMT", "Credit Card Name", true, false},
    {nullptr, "idecl_TravelPINNumberMT", "PIN Number for the travel program", false, true},
    {nullptr, "idecl_WebPasswordMT", "Password for the web account", false, true},
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
        m_window->resize(4 * 160, 2 * 30 + 40);
        QList<HoverHelp::Field> fields;
        for (HoverHelp::Field entry : kFields) {
            entry.edit = new QLineEdit(m_window.get());
            // idecl_<name>MT tracks sle_<name>.
            entry.edit->setObjectName(QStringLiteral("sle_") + entry.tracker.mid(6).chopped(2));
            entry.edit->setGeometry((fields.size() % 4) * 160, (fields.size() / 4) * 30, 150, 24);
            fields << entry;
        }
        // The window masks before the hover help starts.
        for (const char* secret : {"sle_WebPassword", "sle_TravelPINNumber"}) {
            field(QString::fromLatin1(secret))->setEchoMode(m_masking ? QLineEdit::Password : QLineEdit::Normal);
        }
        m_help = std::make_unique<HoverHelp>(withQuery ? HoverHelp::MaskQuery([this] { return m_masking; })
                                                       : HoverHelp::MaskQuery());
        m_help->setHoverTime(HoverMs);
        m_help->wf_SetUpMouseTrack(fields);
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
        QTest::addColumn<bool>("masking");
        QTest::addColumn<bool>("query"); // the window tells whether it masks, else the field does
        QTest::addColumn<QString>("tooltip");
        // A name field says what it is even while empty. A secret one is in clear while the pointer
        // is on it, and masked again as the window masks after.
        row("empty name", "sle_Name", "", true, true, "Name of the user");
        row("filled", "sle_City", "x", true, true, "City of the user");
        for (const auto& [name, help] : {std::pair{"sle_WebPassword", "Password for the web account"},
                                         std::pair{"sle_TravelPINNumber", "PIN Number for the travel program"}}) {
            for (const bool masking : {true, false}) {
                for (const bool query : {true, false}) {
                    QTest::addRow("%s, %s, %s", name, masking ? "masked" : "in clear", query ? "asked" : "read")
                        << QString(name) << "s3cr3t" << masking << query << QString(help);
                }
            }
        }
    }
    void restingShowsTheHelpText()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, masking);
        QFETCH(bool, query);
        QFETCH(QString, tooltip);
        m_masking = masking;
        make(query);
        QLineEdit* edit = field(name);
        edit->setText(text);
        const QLineEdit::EchoMode shown = edit->echoMode();
        // What an earlier rest left; a rest on an empty field must take it away.
        edit->setToolTip(QStringLiteral("earlier"));
        QSignalSpy hover(m_help->tracker(name), &cMouseTrack::MouseHover);

        moveTo(edit);
        QCOMPARE(colour(edit), kBlue);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        QTRY_VERIFY(!hover.isEmpty());
        QCOMPARE(edit->toolTip(), tooltip);
        QCOMPARE(colour(edit), kBlue);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        // Started again from the hover: a further rest is reported too.
        QVERIFY(m_help->tracker(name)->Tracking());

        moveAway();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->toolTip(), tooltip);
        QCOMPARE(edit->echoMode(), shown);

        // A page change hides the field under the pointer: it must not stay in clear.
        moveTo(edit);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        edit->hide();
        QTRY_COMPARE(colour(edit), kThemeText);
        QCOMPARE(edit->echoMode(), shown);
    }
};

QTEST_MAIN(tst_HoverHelp)
#include "tst_HoverHelp.moc"
