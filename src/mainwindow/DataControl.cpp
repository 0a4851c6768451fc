#include "DataControl.h"

#include "General.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>

namespace {

QToolButton* navigationButton(QWidget* parent, QStyle::StandardPixmap picture, const QString& name, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolTip(tip);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return button;
}

void showText(QWidget* field, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        // setText reports a change only when the text differs, which is all the derived
        // displays (formatted copies, card picture, link) depend on.
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* notes = qobject_cast<QPlainTextEdit*>(field)) {
        if (notes->toPlainText() != text) {
            notes->setPlainText(text);
        }
    }
}

} // namespace

DataControl::DataControl(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_first = navigationButton(this, QStyle::SP_MediaSkipBackward, QStringLiteral("cb_First"),
                               QStringLiteral("First record"));
    m_previous = navigationButton(this, QStyle::SP_MediaSeekBackward, QStringLiteral("cb_Previous"),
                                  QStringLiteral("Previous record"));
    m_next =
        navigationButton(this, QStyle::SP_MediaSeekForward, QStringLiteral("cb_Next"), QStringLiteral("Next record"));
    m_last =
        navigationButton(this, QStyle::SP_MediaSkipForward, QStringLiteral("cb_Last"), QStringLiteral("Last record"));
    auto* caption = new QWidget(this);
    caption->setObjectName(QStringLiteral("lbl_Caption"));
    caption->setAutoFillBackground(false);
    layout->addWidget(m_first);
    layout->addWidget(m_previous);
    layout->addWidget(caption, 1);
    layout->addWidget(m_next);
    layout->addWidget(m_last);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("DataControl { border: 1px solid palette(mid); }"));

    connect(m_first, &QToolButton::clicked, this, [this] { navigate(&DataControl::MoveFirst); });
    connect(m_previous, &QToolButton::clicked, this, [this] { navigate(&DataControl::MovePrevious); });
    connect(m_next, &QToolButton::clicked, this, [this] { navigate(&DataControl::MoveNext); });
    connect(m_last, &QToolButton::clicked, this, [this] { navigate(&DataControl::MoveLast); });
    updateButtons();
}

DataControl::~DataControl() = default;

dao::Error DataControl::Refresh()
{
    CloseRecordset();
    m_database.reset();
    dao::Error error;
    if (!m_databaseName.isEmpty() && !m_recordSource.isEmpty()) {
        error = dao::DBEngine::OpenDatabase(m_databaseName, false, false, m_connect, m_database, m_password);
        if (!error) {
            error = m_database->OpenRecordset(m_recordSource, m_recordset, dao::dbOpenDynaset);
        }
        if (error) {
            m_recordset.reset();
            m_database.reset();
        }
    }
    UpdateControls();
    emit Reposition();
    return error;
}

void DataControl::CloseRecordset()
{
    if (m_recordset) {
        m_recordset->Close();
        m_recordset.reset();
    }
    UpdateControls();
}

void DataControl::UpdateControls()
{
    const bool onRecord = m_recordset && !m_recordset->Bof() && !m_recordset->Eof();
    for (const auto& [field, name] : std::as_const(m_bound)) {
        QString text;
        if (onRecord) {
            QVariant value;
            // A field that cannot be read shows empty, as a Null does.
            if (!m_recordset->Field(name, value) && !value.isNull()) {
                text = value.toString();
            }
        }
        showText(field, text);
    }
    updateButtons();
}

bool DataControl::Bof() const
{
    return !m_recordset || m_recordset->Bof();
}

bool DataControl::Eof() const
{
    return !m_recordset || m_recordset->Eof();
}

bool DataControl::NoMatch() const
{
    return m_recordset && m_recordset->NoMatch();
}

dao::Error DataControl::afterMove(dao::Error error)
{
    UpdateControls();
    emit Reposition();
    return error;
}

dao::Error DataControl::MoveFirst()
{
    if (!m_recordset) {
        return dao::makeError(dao::err::ObjectClosed);
    }
    return afterMove(m_recordset->MoveFirst());
}

dao::Error DataControl::MovePrevious()
{
    if (!m_recordset) {
        return dao::makeError(dao::err::ObjectClosed);
    }
    return afterMove(m_recordset->MovePrevious());
}

dao::Error DataControl::MoveNext()
{
    if (!m_recordset) {
        return dao::makeError(dao::err::ObjectClosed);
    }
    return afterMove(m_recordset->MoveNext());
}

dao::Error DataControl::MoveLast()
{
    if (!m_recordset) {
        return dao::makeError(dao::err::ObjectClosed);
    }
    return afterMove(m_recordset->MoveLast());
}

dao::Error DataControl::FindFirst(const QString& criteria)
{
    if (!m_recordset) {
        return dao::makeError(dao::err::ObjectClosed);
    }
    return afterMove(m_recordset->FindFirst(criteria));
}

dao::Error DataControl::Delete()
{
    if (!m_recordset) {
        return dao::makeError(dao::err::ObjectClosed);
    }
    return afterMove(m_recordset->Delete());
}

void DataControl::bind(QWidget* field, const QString& fieldName)
{
    if (field != nullptr) {
        m_bound.append({field, fieldName});
    }
}

void DataControl::navigate(dao::Error (DataControl::*move)())
{
    // The bar keeps the view on a record: past either end it stays where it was.
    if (const dao::Error error = (this->*move)()) {
        ShowErrorText(error);
    }
}

void DataControl::updateButtons()
{
    const int count = m_recordset ? m_recordset->RecordCount() : 0;
    const int position = m_recordset ? m_recordset->AbsolutePosition() : -1;
    const bool onRecord = position >= 0;
    m_first->setEnabled(count > 0 && (!onRecord || position > 0));
    m_previous->setEnabled(onRecord && position > 0);
    m_next->setEnabled(onRecord && position < count - 1);
    m_last->setEnabled(count > 0 && (!onRecord || position < count - 1));
}
