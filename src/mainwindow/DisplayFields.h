#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>

#include <functional>

class QLineEdit;
class QMimeData;
class QWidget;

// What the main window's display fields do beyond showing a text: they never keep the focus
// (their area's focus holder takes it), a drag with the left button alone carries their value
// out as plain text for copying, and they report mouse movement (for the hover help) and double
// clicks.
class DisplayFields : public QObject
{
    Q_OBJECT

public:
    // Carries out a prepared drag; the program runs a real drag, tests look at what would go.
    using DragRunner = std::function<void(QLineEdit* source, QMimeData* data, Qt::DropActions allowed)>;

    explicit DisplayFields(QObject* parent = nullptr);

    // Adds a display field with the widget that takes the focus from it. A field that drags
    // exactly carries its value without the trailing blank.
    void add(QLineEdit* field, QWidget* focusHolder, bool dragsExactly);
    QWidget* focusHolder(const QLineEdit* field) const;

    // The field's whole text, selected afterwards. The values one types into a sign-in form
    // (login, password, PIN, account and card numbers, e-mail addresses) go exactly as stored, so
    // that a dropped password signs in; the other fields' text is followed by one blank.
    QString wf_GetDragText(QLineEdit* field) const;
    // Prepares the drag of a field's value and hands it to the runner.
    void startDrag(QLineEdit* field);

    static void setDragRunner(DragRunner runner);

signals:
    // The pointer moved over a field (whatever the buttons).
    void mouseMoved(QLineEdit* field);
    void doubleClicked(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QLineEdit*, QPointer<QWidget>> m_holders;
    QSet<const QLineEdit*> m_exact;
    QPoint m_pressPosition;
    bool m_leftPressed = false;
};
