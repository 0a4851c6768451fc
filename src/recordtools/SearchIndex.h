#pragma once

#include "Categories.h"
#include "Dao.h"
#include "RowReading.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

// The records a person looks for by name, login, address or note, held in memory while the Find
// window is open. Passwords, PINs and card numbers are never read into it.
namespace recordtools {

// The three pages of records, in the order of the main window's tabs.
enum class Page { Credit, Travel, Web };
// The kind of record the page lists.
Category pageCategory(Page page);
// "Credit Cards", "Travel Programs", "Web Accounts": what a row says of its page.
QString pageTitle(Page page);

struct Record
{
    Page page;
    qint64 id;
    QString name;
    // What tells two records of one name apart: the login of a web account, the account name of
    // a card or program.
    QString detail;
};

class SearchIndex
{
public:
    // Reads the searchable fields of every card, program and web account, each page in name
    // order. On failure the index is empty and the error is returned.
    dao::Error load(dao::Database& database);
    // What load reads, row by row into this index, for reading in steps.
    std::vector<RowSource> sources();
    // Adds one record with the texts it is found by (its name and detail among them or not).
    void add(const Record& record, const QStringList& texts);
    void clear();

    int size() const { return static_cast<int>(m_records.size()); }
    const Record& record(int index) const { return m_records[static_cast<size_t>(index)]; }

    // The records, in index order, with a text that holds needle anywhere, whatever the case
    // of either. Every character matches only itself (no wildcards). An empty needle finds
    // nothing. Given the whole result of a search for a part of needle, only those are looked
    // at. The search stops once it has found limit records (none: all of them).
    QList<int> search(const QString& needle, const QList<int>* narrowFrom = nullptr, qsizetype limit = -1) const;

private:
    std::vector<Record> m_records;
    // Every record's texts case-folded in UTF-8, one after another, each text closed by a byte no
    // search text holds so that no match runs from one field into the next. UTF-8 halves what a
    // search reads, and a whole character of it matches only whole characters.
    std::string m_text;
    // Where each record's texts begin in m_text, and one past the end.
    std::vector<size_t> m_starts{0};
};

} // namespace recordtools
