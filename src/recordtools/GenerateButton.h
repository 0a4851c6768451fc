#pragma once

#include <QToolButton>

class QComboBox;
class QSpinBox;

// The button beside a password box that fills it with a new password (Alt+G). Its menu sets the
// length and the character classes, kept in the settings.
class GenerateButton : public QToolButton
{
    Q_OBJECT

public:
    explicit GenerateButton(QComboBox* passwordBox);

    // Puts a button beside the box, in the box's place in its grid, and after it in the Tab order.
    static GenerateButton* addTo(QComboBox* passwordBox);

    void generate();

private:
    void buildMenu();
    void classesChanged();

    QComboBox* m_box;
    QSpinBox* m_length = nullptr;
};
