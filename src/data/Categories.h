#pragma once

#include <QString>

#include <array>
#include <optional>

// The four kinds of record. Everything that differs between them is in the one table below; code
// that needs a kind's table, page or dialog asks the table rather than comparing names.
enum class Category {
    Personal,
    Credit,
    Travel,
    Web,
};

struct CategoryInfo
{
    Category kind;
    QString name;      // the kind's word: a CSV file's Kind column, a toolbar button's key
    QString title;     // the edit dialog's title band, the main window's area for it
    QString dialog;    // the edit dialog's form
    QString table;     // bracketed table name
    QString keyField;  // bracketed counter key
    QString nameField; // bracketed name field, which may not be blank
    QString refusal;   // the message when the name is blank; empty: the record has no name check
    int page;          // the main window's page listing the kind; -1: no list
};

namespace categories {

// The four kinds, in the order of the enum.
const std::array<CategoryInfo, 4>& all();
const CategoryInfo& info(Category kind);
// The kind of a name ("Credit"); nullptr for any other text.
const CategoryInfo* named(const QString& name);
// The kinds listed on the main window's pages, in page order.
const std::array<Category, 3>& listed();
// The kind on a page of the main window; none for a page outside the three.
std::optional<Category> onPage(int page);

} // namespace categories
