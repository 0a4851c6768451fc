#include "SearchIndex.h"

#include <algorithm>
#include <string.h>

namespace recordtools {

namespace {

constexpr char kEndOfText = '\0';

struct PageSource
{
    Page page;
    // Fixed texts: the key, the name, the detail, then the other fields searched. Account and
    // card numbers, passwords and PINs are left out on purpose.
    const char* statement;
};

const PageSource kSources[] = {
    {Page::Credit, "SELECT [Credit Card ID], [Credit Card], [Account Name], [Card Type], [Notes] "
                   "FROM [Credit Cards] ORDER BY [Credit Card]"},
    {Page::Travel, "SELECT [Program ID], [Travel Program], [Account Name], [Program Type], [Web Account], [Notes] "
                   "FROM [Travel Programs] ORDER BY [Travel Program]"},
    {Page::Web, "SELECT [Web Site ID], [Web Site], [Login], [Site Type], [URL], [E-Mail Address], [Notes] "
                "FROM [Web Accounts] ORDER BY [Web Site]"},
};

std::string folded(const QString& text)
{
    return text.toCaseFolded().toStdString();
}

} // namespace

Category pageCategory(Page page)
{
    switch (page) {
    case Page::Credit:
        return Category::Credit;
    case Page::Travel:
        return Category::Travel;
    case Page::Web:
        break;
    }
    return Category::Web;
}

QString pageTitle(Page page)
{
    switch (page) {
    case Page::Credit:
        return QStringLiteral("Credit Cards");
    case Page::Travel:
        return QStringLiteral("Travel Programs");
    case Page::Web:
        break;
    }
    return QStringLiteral("Web Accounts");
}

dao::Error SearchIndex::load(dao::Database& database)
{
    clear();
    const dao::Error error = readRows(database, sources());
    if (error) {
        clear();
    }
    return error;
}

std::vector<RowSource> SearchIndex::sources()
{
    std::vector<RowSource> sources;
    for (const PageSource& source : kSources) {
        sources.push_back(
            {QString::fromLatin1(source.statement), [this, page = source.page, fields = QStringList(),
                                                     texts = QStringList()](const dao::Recordset& row) mutable {
                 if (fields.isEmpty()) {
                     fields = row.FieldNames();
                 }
                 texts.clear();
                 for (qsizetype i = 1; i < fields.size(); ++i) {
                     texts.append(row.Value(fields.at(i)).toString());
                 }
                 add({page, row.Value(fields.value(0)).toLongLong(), texts.value(0), texts.value(1)}, texts);
             }});
    }
    return sources;
}

void SearchIndex::add(const Record& record, const QStringList& texts)
{
    m_records.push_back(record);
    for (const QString& text : texts) {
        m_text += folded(text);
        m_text += kEndOfText;
    }
    m_starts.push_back(m_text.size());
}

void SearchIndex::clear()
{
    m_records.clear();
    m_text.clear();
    m_text.shrink_to_fit();
    m_starts.assign(1, 0);
}

QList<int> SearchIndex::search(const QString& needle, const QList<int>* narrowFrom, qsizetype limit) const
{
    QList<int> found;
    std::string wanted = folded(needle);
    // A field's end is never part of a match.
    std::erase(wanted, kEndOfText);
    if (wanted.empty() || limit == 0) {
        return found;
    }
    const char* text = m_text.data();
    const auto holds = [&](size_t from, size_t to) {
        return memmem(text + from, to - from, wanted.data(), wanted.size()) != nullptr;
    };
    if (narrowFrom != nullptr) {
        for (const int index : *narrowFrom) {
            const auto i = static_cast<size_t>(index);
            if (i + 1 < m_starts.size() && holds(m_starts[i], m_starts[i + 1])) {
                found.append(index);
                if (found.size() == limit) {
                    break;
                }
            }
        }
        return found;
    }
    // One pass over all the text: after a match the search goes on at the next record.
    size_t at = 0;
    while (at < m_text.size()) {
        const void* match = memmem(text + at, m_text.size() - at, wanted.data(), wanted.size());
        if (match == nullptr) {
            break;
        }
        const auto offset = static_cast<size_t>(static_cast<const char*>(match) - text);
        const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
        found.append(static_cast<int>(next - m_starts.begin() - 1));
        if (found.size() == limit) {
            break;
        }
        at = *next;
    }
    return found;
}

} // namespace recordtools
