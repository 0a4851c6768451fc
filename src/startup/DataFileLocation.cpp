#include "DataFileLocation.h"

#include "Desktop.h"
#include "Maintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace datafile {

namespace {

const QString kFileName = QStringLiteral("Corvanta.cvd");

// A compaction stopped half-way leaves the data under the companion's name only; that file is
// there all the same and start-up takes it back.
bool present(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo::exists(maintenance::compactPath(path));
}

// Copies the shipped file whole under a temporary name, then links it to its place: the link
// fails where a file already is, so nothing is ever overwritten, and a copy cut short is never
// seen as a data file.
bool copyShippedFile(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = source.readAll();
    const QByteArray target = QFile::encodeName(to);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data()); // created 0600
    if (fd < 0) {
        return false;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n <= 0) {
            break;
        }
        written += n;
    }
    const bool whole = written == bytes.size() && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    const bool linked = whole && closed && ::link(temporary.constData(), target.constData()) == 0;
    ::unlink(temporary.constData());
    return linked;
}

} // namespace

Location Locate()
{
    const QString beside = platform::ProgramDirectory() + QLatin1Char('/') + kFileName;
    const QString personal = platform::UserDataDirectory() + QLatin1Char('/') + kFileName;
    Location location{beside,
                      {QDir::toNativeSeparators(platform::ProgramDirectory()),
                       QDir::toNativeSeparators(platform::UserDataDirectory())}};
    if (present(beside)) {
        return location;
    }
    if (present(personal)) {
        location.path = personal;
        return location;
    }
    const QString shipped = platform::SharedDataDirectory() + QLatin1Char('/') + kFileName;
    if (QFileInfo(shipped).isFile() && platform::MakeUserDataDirectory()) {
        // Another copy starting at the same moment may have put its own there first.
        if (copyShippedFile(shipped, personal) || present(personal)) {
            location.path = personal;
        }
    }
    return location;
}

QString PlacesLookedText(const QStringList& places)
{
    return QStringLiteral("Looked for Corvanta.cvd in: ") + places.join(QStringLiteral(" and ")) + QLatin1Char('.');
}

} // namespace datafile
