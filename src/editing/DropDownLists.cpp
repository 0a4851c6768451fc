#include "DropDownLists.h"

#include "LookupLists.h"
#include "Statements.h"

#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QStringListModel>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace dropdown {

namespace {

// The lists of one dialog that are read on another thread. It lives as long as the dialog; a
// list that arrives after the dialog has gone is dropped.
class LateLists : public QObject
{
public:
    LateLists(QWidget* form, dao::DatabasePtr copy) : QObject(form), m_form(form), m_copy(std::move(copy))
    {
        // Once the dialog's load has asked for all its lists, one reading serves them all.
        QTimer::singleShot(0, this, [this] { read(0, std::move(m_copy)); });
    }
    // A reading still waiting or under way when the dialog goes stops at its next list, so that
    // its copy of the database is given back soon.
    ~LateLists() override
    {
        m_cancelled->store(true);
        if (dao::DatabasePtr copy = m_reading.lock()) {
            copy->Interrupt();
        }
    }

    // The reading a dialog's load is gathering lists for, if any.
    static LateLists* gathering(QWidget* form)
    {
        for (QObject* child : form->children()) {
            auto* late = dynamic_cast<LateLists*>(child);
            if (late != nullptr && late->m_copy) {
                return late;
            }
        }
        return nullptr;
    }

    void add(QComboBox* combo, const QString& kind, bool sorted)
    {
        QStringList held;
        for (int row = 0; row < combo->count(); ++row) {
            held << combo->itemText(row);
        }
        m_combos.emplace_back(combo);
        m_lists.push_back({kind, std::move(held), sorted});
    }

private:
    struct List
    {
        QString kind;
        QStringList held;
        bool sorted;
    };

    // Reads the lists from first on. A change to the file gives the copy up; the lists not yet
    // read are then read anew from a fresh copy, unless the change was the dialog's own save
    // that closed it.
    void read(size_t first, dao::DatabasePtr copy)
    {
        m_reading = copy;
        QThreadPool::globalInstance()->start([copy = std::move(copy), lists = m_lists, first,
                                              self = QPointer<LateLists>(this), cancelled = m_cancelled]() {
            for (size_t i = first; i < lists.size() && !cancelled->load(); ++i) {
                const List& list = lists[i];
                const QStringList values = lookup::values(*copy, list.kind);
                if (copy->GivenUp()) {
                    QMetaObject::invokeMethod(
                        QCoreApplication::instance(),
                        [self, i, copy]() {
                            if (self && self->m_form->isVisible() && !copy->Refresh()) {
                                self->read(i, copy);
                            }
                        },
                        Qt::QueuedConnection);
                    return;
                }
                QStringList items = merged(list.held, values, list.sorted);
                // Back on the user-interface thread; the dialog may have gone meanwhile.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [self, i, items = std::move(items), sorted = list.sorted]() {
                        if (self) {
                            self->arrived(i, items, sorted);
                        }
                    },
                    Qt::QueuedConnection);
            }
        });
    }

    void arrived(size_t index, const QStringList& items, bool sorted)
    {
        if (index < m_combos.size() && m_combos[index]) {
            show(m_combos[index], items, sorted);
        }
    }

    QWidget* m_form;
    dao::DatabasePtr m_copy; // until the reading starts
    std::weak_ptr<dao::Database> m_reading;
    std::shared_ptr<std::atomic_bool> m_cancelled = std::make_shared<std::atomic_bool>(false);
    std::vector<List> m_lists;
    std::vector<QPointer<QComboBox>> m_combos;
};

} // namespace

QStringList merged(QStringList items, const QStringList& values, bool sorted)
{
    items += values;
    if (sorted) {
        // A stable sort keeps repeated values in the order they came, as an insert after the
        // equal ones would; the statements already give this order, so it is usually one pass.
        const auto before = [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        };
        if (!std::is_sorted(items.cbegin(), items.cend(), before)) {
            std::stable_sort(items.begin(), items.end(), before);
        }
    }
    return items;
}

void show(QComboBox* combo, const QStringList& items, bool sorted)
{
    QLineEdit* edit = combo->lineEdit();
    const QString text = combo->currentText();
    const int cursor = edit != nullptr ? edit->cursorPosition() : 0;
    const int selectionStart = edit != nullptr ? edit->selectionStart() : -1;
    const int selectionLength = edit != nullptr ? static_cast<int>(edit->selectedText().size()) : 0;

    // One model filled in one step: inserting item by item shifts the list on every insert.
    // The combo box deletes the model it owned before.
    combo->setModel(new QStringListModel(items, combo));
    if (items.size() > kLongList) {
        // Measuring every item's width for the box's size is left out too.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        if (auto* view = qobject_cast<QListView*>(combo->view())) {
            view->setUniformItemSizes(true);
        }
        // Completion as a list of matches to pick from: what is typed stays as typed.
        QCompleter* completer = combo->completer();
        if (completer == nullptr && edit != nullptr) {
            completer = new QCompleter(combo);
            completer->setCompletionMode(QCompleter::PopupCompletion);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setMaxVisibleItems(combo->maxVisibleItems());
            // Its list of matches may be as long as the whole list.
            if (auto* popup = qobject_cast<QListView*>(completer->popup())) {
                popup->setUniformItemSizes(true);
            }
            combo->setCompleter(completer);
        }
        if (completer != nullptr) {
            completer->setModel(combo->model());
            // The sorted lists are in the completer's own order, so it searches them by halves.
            completer->setModelSorting(sorted ? QCompleter::CaseInsensitivelySortedModel : QCompleter::UnsortedModel);
        }
    }
    // A combo box that gets items shows the first one; the edit portion keeps its text instead.
    if (edit != nullptr) {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
        if (selectionStart >= 0 && selectionLength > 0) {
            edit->setSelection(selectionStart, selectionLength);
        } else {
            edit->setCursorPosition(cursor);
        }
    }
}

void fill(QComboBox* combo, dao::Database& db, const QString& kind, bool sorted)
{
    QWidget* form = combo->window();
    LateLists* late = LateLists::gathering(form);
    if (late == nullptr && lookup::recordCount(db) > kFillAtOnceRecords) {
        dao::DatabasePtr copy;
        if (!db.Snapshot(copy)) {
            late = new LateLists(form, std::move(copy));
        }
    }
    if (late != nullptr) {
        late->add(combo, kind, sorted);
        return;
    }
    QStringList held;
    for (int row = 0; row < combo->count(); ++row) {
        held << combo->itemText(row);
    }
    show(combo, merged(held, lookup::values(db, kind), sorted), sorted);
}

} // namespace dropdown
