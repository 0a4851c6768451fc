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

    // Changing the flags of a shown widget hides it and makes a new native window, which the
    // desktop then places anew.
    void togglingKeepsTheWindowShownAndInPlace()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QRect before = m_window->geometry();
        const QWindow* native = m_window->windowHandle();
        for (bool on : {true, false, true}) {
            tasks::SetTopMost(on, m_window.get());
            QVERIFY(m_window->isVisible());
            QCOMPARE(m_window->windowHandle(), native);
            QCOMPARE(m_window->geometry(), before);
            QCOMPARE(nativeOnTop(), on);
            QCOMPARE(tasks::IsTopMost(m_window.get()), on);
        }
    }

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
