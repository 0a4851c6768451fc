#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class frm_Splash;
}

// Shown while the program starts. However quickly start-up finishes, the window stays up for
// kMinimumMilliseconds from its creation; closing it waits for the rest of that time while
// the program goes on handling its events.
class frm_Splash : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint64 kMinimumMilliseconds = 3000;

    // Fills the texts, switches the busy pointer on (start-up switches it off) and starts the
    // clock.
    explicit frm_Splash(QWidget* parent = nullptr);
    ~frm_Splash() override;

    // Shows the window and paints it now, without waiting for the event loop.
    void showAndPaint();
    // Closes the window once it has been up long enough; returns at once if it has.
    void unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void waitForMinimumTime();

    std::unique_ptr<Ui::frm_Splash> ui;
    QElapsedTimer m_loadTime;
};
