#include "GenerateButton.h"

#include "PasswordGenerator.h"
#include "Settings.h"

#include <QActionGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QWidgetAction>

GenerateButton::GenerateButton(QComboBox* passwordBox) : QToolButton(passwordBox->parentWidget()), m_box(passwordBox)
{
    setObjectName(QStringLiteral("cb_Generate"));
    setText(QStringLiteral("&Generate"));
    setToolTip(QStringLiteral("Fill in a new random password (Alt+G); the arrow sets its length and characters"));
    setAccessibleName(QStringLiteral("Generate password"));
    setPopupMode(QToolButton::MenuButtonPopup);
    setFocusPolicy(Qt::StrongFocus);
    buildMenu();
    connect(this, &QToolButton::clicked, this, &GenerateButton::generate);
}

GenerateButton* GenerateButton::addTo(QComboBox* passwordBox)
{
    auto* button = new GenerateButton(passwordBox);
    auto* grid =
        passwordBox->parentWidget() ? qobject_cast<QGridLayout*>(passwordBox->parentWidget()->layout()) : nullptr;
    const int index = grid != nullptr ? grid->indexOf(passwordBox) : -1;
    if (index >= 0) {
        int row = 0;
        int column = 0;
        int rows = 1;
        int columns = 1;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        grid->removeWidget(passwordBox);
        auto* line = new QHBoxLayout;
        line->setContentsMargins(0, 0, 0, 0);
        line->addWidget(passwordBox, 1);
        line->addWidget(button);
        grid->addLayout(line, row, column, rows, columns);
    }
    QWidget::setTabOrder(passwordBox, button);
    return button;
}

void GenerateButton::buildMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnu_Generate"));

    auto* lengthLine = new QWidget(menu);
    auto* layout = new QHBoxLayout(lengthLine);
    layout->setContentsMargins(8, 2, 8, 2);
    auto* label = new QLabel(QStringLiteral("Le&ngth:"), lengthLine);
    m_length = new QSpinBox(lengthLine);
    m_length->setObjectName(QStringLiteral("spn_GenerateLength"));
    m_length->setAccessibleName(QStringLiteral("Password length"));
    m_length->setRange(generator::kMinLength, generator::kMaxLength);
    m_length->setValue(settings::ReadGeneratorLength());
    label->setBuddy(m_length);
    layout->addWidget(label);
    layout->addWidget(m_length);
    auto* lengthItem = new QWidgetAction(menu);
    lengthItem->setDefaultWidget(lengthLine);
    menu->addAction(lengthItem);
    connect(m_length, &QSpinBox::valueChanged, this, [](int length) { settings::SaveGeneratorLength(length); });

    menu->addSeparator();
    const QString chosen = settings::ReadGeneratorClasses();
    for (const generator::CharacterClass& kind : generator::characterClasses()) {
        QAction* item = menu->addAction(QString::fromLatin1(kind.caption));
        item->setObjectName(QStringLiteral("mnu_GenerateClass_") + QLatin1Char(kind.letter));
        item->setData(QString(QLatin1Char(kind.letter)));
        item->setCheckable(true);
        item->setChecked(chosen.contains(QLatin1Char(kind.letter)));
        connect(item, &QAction::toggled, this, &GenerateButton::classesChanged);
    }
    setMenu(menu);
}

void GenerateButton::classesChanged()
{
    QString letters;
    QList<QAction*> checked;
    for (QAction* item : menu()->actions()) {
        if (item->isCheckable() && item->isChecked()) {
            letters += item->data().toString();
            checked << item;
        }
    }
    // The last class stays: a password needs characters to be drawn from.
    for (QAction* item : menu()->actions()) {
        if (item->isCheckable()) {
            item->setEnabled(checked.size() != 1 || !item->isChecked());
        }
    }
    settings::SaveGeneratorClasses(letters);
}

void GenerateButton::generate()
{
    QString letters;
    for (QAction* item : menu()->actions()) {
        if (item->isCheckable() && item->isChecked()) {
            letters += item->data().toString();
        }
    }
    m_box->setEditText(generator::generate(m_length->value(), letters));
    m_box->setFocus(Qt::OtherFocusReason);
    if (QLineEdit* edit = m_box->lineEdit()) {
        edit->selectAll();
    }
}
