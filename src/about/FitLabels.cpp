#include "FitLabels.h"

#include <QLabel>

#include <algorithm>

namespace about {

namespace {

// Moves down by dy whatever of parent lies below line, except the child that grew.
void shiftBelow(QWidget* parent, const QWidget* grown, int line, int dy)
{
    for (QWidget* sibling : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (sibling != grown && sibling->y() >= line) {
            sibling->move(sibling->x(), sibling->y() + dy);
        }
    }
}

// Grows a widget by dy in height, and each of its containers below the window with it.
void growDown(QWidget* widget, QWidget* window, int dy)
{
    for (QWidget* child = widget; child != window && child->parentWidget() != nullptr; child = child->parentWidget()) {
        const int oldBottom = child->y() + child->height();
        child->resize(child->width(), child->height() + dy);
        shiftBelow(child->parentWidget(), child, oldBottom, dy);
    }
}

// Widens a widget to the right by dx, and each container that no longer holds it.
void growRight(QWidget* widget, QWidget* window, int dx)
{
    widget->resize(widget->width() + dx, widget->height());
    for (QWidget* child = widget; child != window && child->parentWidget() != nullptr; child = child->parentWidget()) {
        QWidget* parent = child->parentWidget();
        const int overflow = child->x() + child->width() - parent->width();
        if (overflow > 0) {
            parent->resize(parent->width() + overflow, parent->height());
        }
    }
}

} // namespace

void FitLabels(QWidget* window)
{
    // The window keeps its margins around what it holds.
    const QRect content = window->childrenRect();
    const QSize margins(window->width() - content.right(), window->height() - content.bottom());
    QList<QLabel*> labels;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            labels << label;
        }
    }
    // Top to bottom, so that what an upper label pushes down is fitted in its new place.
    std::sort(labels.begin(), labels.end(), [window](const QLabel* a, const QLabel* b) {
        return a->mapTo(window, QPoint(0, 0)).y() < b->mapTo(window, QPoint(0, 0)).y();
    });
    for (QLabel* label : labels) {
        if (!label->wordWrap() && label->sizeHint().width() > label->width()) {
            label->setWordWrap(true);
        }
        const int widest = label->wordWrap() ? label->minimumSizeHint().width() : label->sizeHint().width();
        if (widest > label->width()) {
            growRight(label, window, widest - label->width());
        }
        const int tallest = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        if (tallest > label->height()) {
            growDown(label, window, tallest - label->height());
        }
    }
    const QRect fitted = window->childrenRect();
    window->setFixedSize(std::max(window->width(), fitted.right() + margins.width()),
                         std::max(window->height(), fitted.bottom() + margins.height()));
}

} // namespace about
