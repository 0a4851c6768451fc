#pragma once

#include <QString>

namespace dao {

// The error numbers this engine reports, each a fixed number that callers compare against
// (3024: no such file, 3031: the wrong password).
namespace err {
constexpr int None = 0;
constexpr int InvalidArgument = 3001;     // a call was made with a value it cannot use
constexpr int TooManyTransactions = 3003; // a transaction is already running
constexpr int UpdateWithoutEdit = 3020;   // Update without AddNew or Edit
constexpr int NoCurrentRecord = 3021;     // BOF, EOF or a deleted record
constexpr int FileNotFound = 3024;        // the data file does not exist
constexpr int DiskFull = 3026;            // no space left while saving
constexpr int ReadOnly = 3027;            // the record set or database cannot be changed
constexpr int InvalidPassword = 3031;     // the password does not open the file
constexpr int CommitWithoutBegin = 3034;  // CommitTrans or Rollback outside a transaction
constexpr int ReadError = 3040;           // the file could not be read
constexpr int WriteError = 3043;          // the file could not be written or flushed
constexpr int FileInUse = 3045;           // the file is open and cannot be opened exclusively
constexpr int DamagedFile = 3049;         // the file is one of ours but damaged
constexpr int NoPermission = 3051;        // the file may not be opened
constexpr int QuerySyntax = 3075;         // a statement the engine cannot run
constexpr int CriteriaSyntax = 3077;      // FindFirst criteria it cannot read
constexpr int RecordDeleted = 3167;       // the current record was deleted
constexpr int DatabaseExists = 3204;      // the destination of a compaction exists
constexpr int ItemNotFound = 3265;        // a field name that the record set does not have
constexpr int NotADataFile = 3343;        // the file is not a data file of this program
constexpr int OpenedExclusively = 3356;   // another program holds the file exclusively
constexpr int ObjectClosed = 3420;        // the database or record set was closed
constexpr int NotExclusive = 3621;        // a password change needs an exclusive opening
constexpr int OutOfMemory = 7;            // memory could not be had
} // namespace err

// A failure: a number and a description. A default-constructed Error means success. Every
// Error returned must be looked at: a caller that means to drop one says so with (void).
class [[nodiscard]] Error
{
public:
    Error() = default;
    Error(int number, QString description) : m_number(number), m_description(std::move(description)) {}

    bool ok() const { return m_number == 0; }
    explicit operator bool() const { return m_number != 0; }
    int number() const { return m_number; }
    const QString& description() const { return m_description; }

private:
    int m_number = 0;
    QString m_description;
};

// The standard description of each number; the path is filled in where the text names a file.
QString describe(int number, const QString& path = QString());
Error makeError(int number, const QString& path = QString());

} // namespace dao
