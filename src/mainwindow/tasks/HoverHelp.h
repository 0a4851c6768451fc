#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPalette>
#include <QString>

#include <functional>

class cMouseTrack;
class QLineEdit;
class QWidget;

// The help that follows the mouse pointer over the main window's display fields: a field turns
// blue while the pointer is on it and takes its own colour again when it leaves (the desktop
// theme's, light on a dark theme), a secret field shows its text in
// clear meanwhile when masking is on, and resting on a field sets its help text as the tooltip
// (an empty field gets none, except the four name fields).
//
// Each field gets its own tracker, named after the field (idecl_<field>MT).
class HoverHelp : public QObject
{
    Q_OBJECT

public:
    struct Field
    {
        QLineEdit* edit;
        QString tracker;
        QString help;
        // An empty field gets no tooltip rather than this help.
        bool helpWhenEmpty;
        bool secret;
    };

    // Whether the secret fields are masked now; the window owns that state.
    using MaskQuery = std::function<bool()>;

    explicit HoverHelp(MaskQuery masked, QObject* parent = nullptr);

    // Makes a tracker for each field, in the order given, and attaches it; runs once, after the
    // masking has been applied.
    void wf_SetUpMouseTrack(const QList<Field>& fields);
    const QList<Field>& fields() const { return m_fields; }

    // The pointer moved over a field (every move arrives here).
    void wf_MouseTrack(QLineEdit* arcon_Control, cMouseTrack* arcon_MouseTrack);
    // The pointer rests on a field: the tooltip becomes the text (empty removes it) and the
    // tracker is started again for the leave and a further rest.
    void wf_MouseHover(QLineEdit* arcon_Control, cMouseTrack* arcon_MouseTrack,
                       const QString& arstr_ToolTip = QString());
    void wf_MouseLeave(QLineEdit* arcon_Control);

    cMouseTrack* tracker(const QString& fieldName) const;
    const QList<cMouseTrack*>& trackers() const { return m_trackers; }
    // Tests rest for less than the desktop's hover time.
    void setHoverTime(int ms);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isSecret(const QLineEdit* field) const;
    bool masked() const;
    void setTextColour(QLineEdit* field, Qt::GlobalColor colour);
    void restoreTextColour(QLineEdit* field);

    MaskQuery m_masked;
    QList<cMouseTrack*> m_trackers;
    QList<Field> m_fields;
    // The palette each field had before the pointer turned it blue (a default one when it took
    // the window's), put back when the pointer leaves.
    QHash<const QLineEdit*, QPalette> m_ownPalettes;
    int m_hoverTime = 0;
};
