#include "FileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdio.h>

namespace dao {

int FileOps::open(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags | O_CLOEXEC, mode);
}

ssize_t FileOps::read(int fd, void* buffer, size_t count)
{
    return ::read(fd, buffer, count);
}

ssize_t FileOps::write(int fd, const void* buffer, size_t count)
{
    return ::write(fd, buffer, count);
}

int FileOps::fsync(int fd)
{
    return ::fsync(fd);
}

int FileOps::close(int fd)
{
    return ::close(fd);
}

int FileOps::rename(const char* from, const char* to)
{
    return ::rename(from, to);
}

int FileOps::unlink(const char* path)
{
    return ::unlink(path);
}

namespace {
FileOps g_systemOps;
FileOps* g_ops = &g_systemOps;
} // namespace

FileOps& fileOps()
{
    return *g_ops;
}

void setFileOps(FileOps* ops)
{
    g_ops = ops ? ops : &g_systemOps;
}

} // namespace dao
