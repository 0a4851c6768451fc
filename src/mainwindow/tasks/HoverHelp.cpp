#include "HoverHelp.h"

#include "cMouseTrack.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

#include <algorithm>

HoverHelp::HoverHelp(MaskQuery masked, QObject* parent) : QObject(parent), m_masked(std::move(masked)) {}

void HoverHelp::wf_SetUpMouseTrack(const QList<Field>& fields)
{
    if (!m_trackers.isEmpty()) {
        return;
    }
    m_fields = fields;
    for (const Field& entry : fields) {
        auto* tracker = new cMouseTrack(this);
        tracker->setObjectName(entry.tracker);
        if (m_hoverTime > 0) {
            tracker->setHoverTime(m_hoverTime);
        }
        m_trackers.append(tracker);
        QLineEdit* field = entry.edit;
        tracker->AttachMouseTracking(field);
        // Without this the field hears of the pointer only while a button is held.
        field->setMouseTracking(true);
        field->installEventFilter(this);

        const QString help = entry.help;
        const bool helpWhenEmpty = entry.helpWhenEmpty;
        connect(tracker, &cMouseTrack::MouseHover, this, [this, field, tracker, help, helpWhenEmpty] {
            wf_MouseHover(field, tracker, !helpWhenEmpty && field->text().isEmpty() ? QString() : help);
        });
        connect(tracker, &cMouseTrack::MouseLeave, this, [this, field] { wf_MouseLeave(field); });
    }
}

bool HoverHelp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        for (qsizetype i = 0; i < m_fields.size(); ++i) {
            if (m_fields.at(i).edit == watched) {
                wf_MouseTrack(m_fields.at(i).edit, m_trackers.at(i));
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool HoverHelp::isSecret(const QLineEdit* field) const
{
    return std::any_of(m_fields.cbegin(), m_fields.cend(),
                       [field](const Field& entry) { return entry.edit == field && entry.secret; });
}

bool HoverHelp::masked() const
{
    return m_masked();
}

void HoverHelp::setTextColour(QLineEdit* field, Qt::GlobalColor colour)
{
    if (!m_ownPalettes.contains(field)) {
        m_ownPalettes.insert(field, field->testAttribute(Qt::WA_SetPalette) ? field->palette() : QPalette());
    }
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
}

void HoverHelp::restoreTextColour(QLineEdit* field)
{
    // Only the hover colour is fixed; a fixed black after it is unreadable on a dark theme.
    if (m_ownPalettes.contains(field)) {
        field->setPalette(m_ownPalettes.take(field));
    }
}

void HoverHelp::wf_MouseTrack(QLineEdit* arcon_Control, cMouseTrack* arcon_MouseTrack)
{
    if (arcon_Control == nullptr || arcon_MouseTrack == nullptr || arcon_MouseTrack->Tracking()) {
        return;
    }
    if (isSecret(arcon_Control) && masked()) {
        arcon_Control->setEchoMode(QLineEdit::Normal);
    }
    setTextColour(arcon_Control, Qt::blue);
    arcon_MouseTrack->StartMouseTracking();
}

void HoverHelp::wf_MouseHover(QLineEdit* arcon_Control, cMouseTrack* arcon_MouseTrack, const QString& arstr_ToolTip)
{
    if (arcon_Control == nullptr || arcon_MouseTrack == nullptr) {
        return;
    }
    arcon_Control->setToolTip(arstr_ToolTip);
    arcon_MouseTrack->StartMouseTracking();
}

void HoverHelp::wf_MouseLeave(QLineEdit* arcon_Control)
{
    if (arcon_Control == nullptr) {
        return;
    }
    restoreTextColour(arcon_Control);
    if (isSecret(arcon_Control) && masked()) {
        arcon_Control->setEchoMode(QLineEdit::Password);
    }
}

cMouseTrack* HoverHelp::tracker(const QString& fieldName) const
{
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).edit->objectName() == fieldName) {
            return m_trackers.at(i);
        }
    }
    return nullptr;
}

void HoverHelp::setHoverTime(int ms)
{
    m_hoverTime = ms;
    for (cMouseTrack* tracker : std::as_const(m_trackers)) {
        tracker->setHoverTime(ms);
    }
}
