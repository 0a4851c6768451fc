#include "TestSupport.h"
#include "TopMost.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

using testsupport::row;

class tst_TopMost : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;

    bool nativeOnTop() const { return m_window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); }

private slots:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(120, 90, 300, 400);
    }
    void cleanup() { m_window.reset(); }

    // While a dialog or message of an always-on-top window is up, the window leaves the band so
    // that the dialog can come above it.
    void bracketLeavesTheBandOnlyWhileItLives_data()
    {
        QTest::addColumn<bool>("onTop");
        row("kept on top", true);
        row("not kept on top", false);
    }
    void bracketLeavesTheBandOnlyWhileItLives()
    {
        QFETCH(bool, onTop);
        m_window->show();
        tasks::SetTopMost(onTop, m_window.get());
        {
            tasks::TopMostBracket bracket(m_window.get(), onTop);
            QVERIFY(!nativeOnTop());
        }
        QCOMPARE(nativeOnTop(), onTop);
    }
};

QTEST_MAIN(tst_TopMost)
#include "tst_TopMost.moc"
