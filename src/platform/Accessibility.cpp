#include "Accessibility.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace accessibility {

namespace {

// What a caption says aloud: no mnemonic marker ("&&" is a real ampersand), no markup, no blanks
// around it and no colon after it, which only separate the caption from its field on screen.
QString spoken(const QString& caption)
{
    QString text = caption;
    if (Qt::mightBeRichText(text)) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
                plain += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        plain += text.at(i);
    }
    plain = plain.trimmed();
    while (plain.endsWith(QLatin1Char(':'))) {
        plain.chop(1);
        plain = plain.trimmed();
    }
    return plain;
}

QLabel* labelOf(const QWidget* control)
{
    for (QLabel* label : control->window()->findChildren<QLabel*>()) {
        if (label->buddy() == control) {
            return label;
        }
    }
    return nullptr;
}

bool showsText(const QAbstractButton* button)
{
    if (button->text().trimmed().isEmpty()) {
        return false;
    }
    // A tool button keeps its action's text even when it draws only the picture.
    const auto* tool = qobject_cast<const QToolButton*>(button);
    return tool == nullptr || tool->toolButtonStyle() != Qt::ToolButtonIconOnly || tool->icon().isNull();
}

bool isPicture(const QLabel* label)
{
    return label->text().isEmpty() && !label->pixmap().isNull();
}

bool isEditWithinCombo(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) != nullptr &&
           qobject_cast<const QComboBox*>(widget->parentWidget()) != nullptr;
}

// The controls a person reads or uses. Labels with text, frames and tab bars are named by their
// captions already; scroll bars belong to the box they scroll.
bool needsName(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return !showsText(button);
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return isPicture(label);
    }
    if (qobject_cast<const QScrollBar*>(widget) != nullptr) {
        return false;
    }
    return qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(widget) != nullptr;
}

void keepTabMoving(QWidget* widget)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        plain->setTabChangesFocus(true);
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        rich->setTabChangesFocus(true);
    }
}

bool isMasked(const QObject* object)
{
    const auto* edit = qobject_cast<const QLineEdit*>(object);
    return edit != nullptr && edit->echoMode() != QLineEdit::Normal;
}

// As many mask characters as the field draws for that many characters of its text.
QString drawn(const QLineEdit* edit, qsizetype count)
{
    if (edit->echoMode() == QLineEdit::NoEcho) {
        return QString();
    }
    const QString shown = edit->displayText();
    const QChar mask = shown.isEmpty()
                           ? QChar(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit))
                           : shown.at(0);
    return QString(count, mask);
}

QAccessible::UpdateHandler& previousUpdateHandler()
{
    static QAccessible::UpdateHandler handler = nullptr;
    return handler;
}

void passOn(QAccessibleEvent* event);

// Every change event passes here before it reaches the bus. The text events of a line edit carry
// the text that changed, whatever the field draws: those of a masked field go on with the mask
// characters instead, so that a reader still hears that a character came or went.
void safeUpdate(QAccessibleEvent* event)
{
    if (!isMasked(event->object())) {
        passOn(event);
        return;
    }
    auto* edit = static_cast<QLineEdit*>(event->object());
    switch (event->type()) {
    case QAccessible::TextInserted: {
        const auto* change = static_cast<QAccessibleTextInsertEvent*>(event);
        QAccessibleTextInsertEvent safe(edit, change->changePosition(), drawn(edit, change->textInserted().size()));
        passOn(&safe);
        return;
    }
    case QAccessible::TextRemoved: {
        const auto* change = static_cast<QAccessibleTextRemoveEvent*>(event);
        QAccessibleTextRemoveEvent safe(edit, change->changePosition(), drawn(edit, change->textRemoved().size()));
        passOn(&safe);
        return;
    }
    case QAccessible::TextUpdated: {
        const auto* change = static_cast<QAccessibleTextUpdateEvent*>(event);
        QAccessibleTextUpdateEvent safe(edit, change->changePosition(), drawn(edit, change->textRemoved().size()),
                                        drawn(edit, change->textInserted().size()));
        passOn(&safe);
        return;
    }
    case QAccessible::ValueChanged: {
        QAccessibleValueChangeEvent safe(edit, edit->displayText());
        passOn(&safe);
        return;
    }
    default:
        passOn(event);
        return;
    }
}

void passOn(QAccessibleEvent* event)
{
    if (QAccessible::UpdateHandler previous = previousUpdateHandler()) {
        previous(event);
        return;
    }
    // Without a handler the event goes to the desktop's bridge.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(safeUpdate);
}

// The interface screen readers get for every line edit. Qt's own one reports a read-only field
// as editable as well, and a masked field's text as it goes by: the text events of a field that
// is filled by the program (a record shown) carry the clear text of a masked field to the bus.
// This one tells what the field shows, masked as drawn, and reports read-only fields as such. A
// masked field offers its text as drawn, so that a reader can tell how many characters it holds;
// its change events are masked on their way (safeUpdate).
class LineEditInterface : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit LineEditInterface(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.passwordEdit = masked();
        state.selectableText = !masked();
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) {
            return edit()->displayText();
        }
        return QAccessibleWidget::text(kind);
    }

    void selection(int, int* start, int* end) const override
    {
        *start = edit()->hasSelectedText() ? edit()->selectionStart() : 0;
        *end = edit()->hasSelectedText() ? edit()->selectionEnd() : 0;
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit()->deselect(); }
    void setSelection(int, int start, int end) override { edit()->setSelection(start, end - start); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return start > end ? QString() : edit()->displayText().mid(start, end - start);
    }
    int characterCount() const override { return int(edit()->displayText().size()); }
    // Qt's search for a word or line around an offset never ends at the end of the text, nor
    // anywhere in a text without words, as a row of mask characters is; a screen reader asks
    // there whenever the caret is at the end. A masked field is one word and one line.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override
    {
        if (masked()) {
            return maskedPiece(boundary == QAccessible::CharBoundary ? offset - 1 : -1, boundary, start, end);
        }
        return QAccessibleTextInterface::textBeforeOffset(offset, boundary, start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override
    {
        if (masked()) {
            return maskedPiece(offset, boundary, start, end);
        }
        if (offset >= characterCount()) {
            *start = characterCount();
            *end = characterCount();
            return QString();
        }
        return QAccessibleTextInterface::textAtOffset(offset, boundary, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override
    {
        if (masked()) {
            return maskedPiece(boundary == QAccessible::CharBoundary ? offset + 1 : characterCount(), boundary, start,
                               end);
        }
        if (offset >= characterCount()) {
            *start = characterCount();
            *end = characterCount();
            return QString();
        }
        return QAccessibleTextInterface::textAfterOffset(offset, boundary, start, end);
    }
    QRect characterRect(int) const override { return QRect(edit()->mapToGlobal(QPoint(0, 0)), edit()->size()); }
    int offsetAtPoint(const QPoint& point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int) override { edit()->setCursorPosition(start); }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = offset;
        *end = offset;
        return QString();
    }

private:
    QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
    bool masked() const { return edit()->echoMode() != QLineEdit::Normal; }
    // The character at an offset, or the whole drawn text for any larger piece; nothing outside.
    QString maskedPiece(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const
    {
        const int count = characterCount();
        if (offset < 0 || offset >= count) {
            *start = *end = std::clamp(offset, 0, count);
            return QString();
        }
        *start = boundary == QAccessible::CharBoundary ? offset : 0;
        *end = boundary == QAccessible::CharBoundary ? offset + 1 : count;
        return text(*start, *end);
    }
};

QAccessibleInterface* lineEditFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QLineEdit")) {
        if (auto* edit = qobject_cast<QLineEdit*>(object)) {
            return new LineEditInterface(edit);
        }
    }
    return nullptr;
}

void stepPage(QTabWidget* pages, int step)
{
    const int count = pages->count();
    int page = pages->currentIndex();
    for (int pass = 0; pass < count; ++pass) {
        page = (page + step + count) % count;
        if (pages->isTabEnabled(page)) {
            pages->setCurrentIndex(page);
            return;
        }
    }
}

void addShortcut(QWidget* window, const QKeySequence& key, const std::function<void()>& run)
{
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, run);
}

} // namespace

QString ruleName(const QWidget* control)
{
    if (const QLabel* label = labelOf(control)) {
        const QString caption = spoken(label->text());
        if (!caption.isEmpty()) {
            return caption;
        }
    }
    const QString tip = spoken(control->toolTip());
    if (!tip.isEmpty()) {
        return tip;
    }
    if (qobject_cast<const QAbstractButton*>(control) != nullptr || qobject_cast<const QLabel*>(control) != nullptr) {
        // A frame's title names the field inside it, not every button or picture near it.
        return QString();
    }
    for (const QWidget* outer = control->parentWidget(); outer != nullptr && !outer->isWindow();
         outer = outer->parentWidget()) {
        if (const auto* frame = qobject_cast<const QGroupBox*>(outer)) {
            const QString title = spoken(frame->title());
            if (!title.isEmpty()) {
                return title;
            }
        }
    }
    return QString();
}

void useSafeLineEdits()
{
    static const bool installed = [] {
        QAccessible::installFactory(lineEditFactory);
        previousUpdateHandler() = QAccessible::installUpdateHandler(safeUpdate);
        return true;
    }();
    Q_UNUSED(installed)
}

void nameControls(QWidget* window, const QHash<QString, QString>& explicitNames)
{
    useSafeLineEdits();
    if (window == nullptr) {
        return;
    }
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        keepTabMoving(widget);
        const auto named = explicitNames.constFind(widget->objectName());
        if (named != explicitNames.cend() && !widget->objectName().isEmpty()) {
            widget->setAccessibleName(named.value());
            continue;
        }
        if (!widget->accessibleName().isEmpty() || isEditWithinCombo(widget) || !needsName(widget)) {
            continue;
        }
        const QString name = ruleName(widget);
        if (!name.isEmpty()) {
            widget->setAccessibleName(name);
        }
    }
    // The combo boxes have their names now; the box a person types into says the same.
    for (QWidget* widget : widgets) {
        if (isEditWithinCombo(widget) && widget->accessibleName().isEmpty()) {
            widget->setAccessibleName(widget->parentWidget()->accessibleName());
        }
    }
}

void addPageButtons(QTabWidget* pages, const QList<PageButton>& buttons)
{
    if (pages == nullptr) {
        return;
    }
    for (int page = 0; page < pages->count(); ++page) {
        const QString title = spoken(pages->tabText(page));
        for (const PageButton& entry : buttons) {
            for (QAbstractButton* button : pages->widget(page)->findChildren<QAbstractButton*>(entry.objectName)) {
                button->setAccessibleName(entry.word + QStringLiteral(", ") + title);
            }
        }
    }

    QWidget* window = pages->window();
    for (const PageButton& entry : buttons) {
        if (entry.key.isEmpty()) {
            continue;
        }
        const QString objectName = entry.objectName;
        addShortcut(window, entry.key, [pages, objectName] {
            QWidget* page = pages->currentWidget();
            QAbstractButton* button = page != nullptr ? page->findChild<QAbstractButton*>(objectName) : nullptr;
            if (button != nullptr && button->isEnabled() && button->isVisibleTo(page)) {
                button->click();
            }
        });
    }
    // The tab widget knows these keys only while the focus is inside it; the personal fields
    // above it and the toolbar need them as much.
    const auto next = [pages] { stepPage(pages, 1); };
    const auto previous = [pages] { stepPage(pages, -1); };
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Tab), next);
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_PageDown), next);
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), previous);
    // X reports Shift+Tab as Backtab.
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), previous);
    addShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_PageUp), previous);
}

} // namespace accessibility
