#include "TestSupport.h"

#include <QFile>

namespace testsupport {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

bool containsText(const QByteArray& bytes, const QString& needle)
{
    const QByteArray utf16(reinterpret_cast<const char*>(needle.utf16()), needle.size() * 2);
    return bytes.contains(needle.toUtf8()) || bytes.contains(utf16);
}

} // namespace testsupport
