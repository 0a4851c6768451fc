#include "HoverHelp.h"

#include "cMouseTrack.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

const QList<HoverHelp::Entry>& HoverHelp::entries()
{
    static const QList<Entry> table{
        {"sle_Name", "idecl_NameMT", "Name of the user", false},
        {"sle_Address", "idecl_AddressMT", "Address of the user", true},
        {"sle_City", "idecl_CityMT", "City of the user", true},
        {"sle_State", "idecl_StateMT", "State of the user", true},
        {"sle_ZipCode", "idecl_ZipCodeMT", "Zip code of the user", true},
        {"sle_DefaultEMailAddress", "idecl_DefaultEMailAddressMT", "E-mail address of the user", true},
        {"sle_PhoneNumber", "idecl_PhoneNumberMT", "Phone number of the user", true},
        {"sle_CreditAccountName", "idecl_CreditAccountNameMT", "Name on the account", true},
        {"sle_CreditAccountNumber", "idecl_CreditAccountNumberMT", "Account number", true},
        {"sle_CreditCard", "idecl_CreditCardMT", "Credit Card Name", false},
        {"sle_CreditExpirationDate", "idecl_CreditExpirationDateMT", "Account expiration date", true},
        {"sle_CreditPhoneNumber", "idecl_CreditPhoneNumberMT", "Phone number of credit card company", true},
        {"sle_TravelAccountName", "idecl_TravelAccountNameMT", "Name on the travel account", true},
        {"sle_TravelAccountNumber", "idecl_TravelAccountNumberMT", "Account number", true},
        {"sle_TravelPhoneNumber", "idecl_TravelPhoneNumberMT", "Phone number of the travel program", true},
        {"sle_TravelProgram", "idecl_TravelProgramMT", "Travel Program Name", false},
        {"sle_TravelProgramType", "idecl_TravelProgramTypeMT", "Travel program type", true},
        {"sle_TravelPINNumber", "idecl_TravelPINNumberMT", "PIN Number for the travel program", true},
        {"sle_TravelWebAccount", "idecl_TravelWebAccountMT", "Web account for this travel program", true},
        {"sle_WebAccount", "idecl_WebAccountMT", "Web Account Name", false},
        {"sle_WebLogin", "idecl_WebLoginMT", "Login name for the web account", true},
        {"sle_WebPassword", "idecl_WebPasswordMT", "Password for the web account", true},
        {"sle_WebSiteType", "idecl_WebSiteTypeMT", "Type of web site", true},
        {"sle_WebEMailAddress", "idecl_WebEMailAddressMT", "E-mail address for the web account", true},
    };
    return table;
}

HoverHelp::HoverHelp(QWidget* window, MaskQuery masked, QObject* parent)
    : QObject(parent), m_window(window), m_masked(std::move(masked))
{}

HoverHelp::~HoverHelp()
{
    for (const QPointer<QLineEdit>& field : std::as_const(m_fields)) {
        if (field) {
            field->removeEventFilter(this);
        }
    }
}

bool HoverHelp::isSecretField(const QLineEdit* field)
{
    return field != nullptr && (field->objectName() == QLatin1String("sle_WebPassword") ||
                                field->objectName() == QLatin1String("sle_TravelPINNumber"));
}

void HoverHelp::wf_SetUpMouseTrack()
{
    if (!m_trackers.isEmpty()) {
        return;
    }
    for (const Entry& entry : entries()) {
        auto* tracker = new cMouseTrack(this);
        tracker->setObjectName(QString::fromLatin1(entry.tracker));
        if (m_hoverTime > 0) {
            tracker->setHoverTime(m_hoverTime);
        }
        m_trackers.append(tracker);
    }
    for (qsizetype i = 0; i < entries().size(); ++i) {
        const Entry& entry = entries().at(i);
        cMouseTrack* tracker = m_trackers.at(i);
        QLineEdit* field = m_window ? m_window->findChild<QLineEdit*>(QString::fromLatin1(entry.field)) : nullptr;
        m_fields.append(field);
        tracker->AttachMouseTracking(field);
        if (field == nullptr) {
            continue;
        }
        // Without this the field hears of the pointer only while a button is held.
        field->setMouseTracking(true);
        field->installEventFilter(this);

        const QString help = QString::fromLatin1(entry.help);
        const bool onlyIfNotEmpty = entry.onlyIfNotEmpty;
        connect(tracker, &cMouseTrack::MouseHover, this, [this, field, tracker, help, onlyIfNotEmpty] {
            wf_MouseHover(field, tracker, onlyIfNotEmpty && field->text().isEmpty() ? QString() : help);
        });
        connect(tracker, &cMouseTrack::MouseLeave, this, [this, field] { wf_MouseLeave(field); });
    }
}

bool HoverHelp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        const qsizetype index = m_fields.indexOf(qobject_cast<QLineEdit*>(watched));
        if (index >= 0) {
            wf_MouseTrack(m_fields.at(index), m_trackers.at(index));
        }
    }
    return QObject::eventFilter(watched, event);
}

bool HoverHelp::masked(const QLineEdit* field) const
{
    if (m_masked) {
        return m_masked();
    }
    return field->echoMode() == QLineEdit::Password || m_unmasked.contains(field);
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
    if (isSecretField(arcon_Control) && masked(arcon_Control)) {
        arcon_Control->setEchoMode(QLineEdit::Normal);
        if (!m_masked && !m_unmasked.contains(arcon_Control)) {
            m_unmasked.append(arcon_Control);
        }
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
    if (isSecretField(arcon_Control) && masked(arcon_Control)) {
        arcon_Control->setEchoMode(QLineEdit::Password);
    }
    m_unmasked.removeAll(arcon_Control);
}

cMouseTrack* HoverHelp::tracker(const QString& fieldName) const
{
    for (qsizetype i = 0; i < entries().size(); ++i) {
        if (QLatin1String(entries().at(i).field) == fieldName) {
            return i < m_trackers.size() ? m_trackers.at(i) : nullptr;
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
