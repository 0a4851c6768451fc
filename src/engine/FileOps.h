#pragma once

#include <sys/types.h>

#include <cstddef>

namespace dao {

// The file calls the engine makes when it reads and writes data files. Tests put a failing
// layer in place of the system one to prove that every failed step leaves the old file whole.
class FileOps
{
public:
    virtual ~FileOps() = default;
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t read(int fd, void* buffer, size_t count);
    virtual ssize_t write(int fd, const void* buffer, size_t count);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
};

FileOps& fileOps();
// Installs another layer (nullptr restores the system one). The caller keeps ownership.
void setFileOps(FileOps* ops);

} // namespace dao
