// Loaded into a child process with LD_PRELOAD: every write the process makes, to any file
// (unlinked temporary files included), is searched for the text in WRITE_WATCH_MARKER. At
// exit the number of bytes seen and of writes that held the marker go to WRITE_WATCH_LOG, so
// a test sees writes that bypass the engine's own file layer.

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string.h>

namespace {

std::atomic<unsigned long long> g_seen{0};
std::atomic<unsigned long long> g_hits{0};

template <typename F> F real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void note(const void* buffer, ssize_t written)
{
    if (written <= 0 || !buffer) {
        return;
    }
    g_seen += static_cast<unsigned long long>(written);
    const char* marker = std::getenv("WRITE_WATCH_MARKER");
    if (marker && *marker && memmem(buffer, static_cast<size_t>(written), marker, strlen(marker))) {
        ++g_hits;
    }
}

void noteVector(const struct iovec* iov, int count, ssize_t written)
{
    for (int i = 0; i < count && written > 0; ++i) {
        const ssize_t part = written < static_cast<ssize_t>(iov[i].iov_len) ? written : iov[i].iov_len;
        note(iov[i].iov_base, part);
        written -= part;
    }
}

__attribute__((destructor)) void report()
{
    const char* log = std::getenv("WRITE_WATCH_LOG");
    if (!log) {
        return;
    }
    using WriteFn = ssize_t (*)(int, const void*, size_t);
    static const auto realWrite = real<WriteFn>("write");
    char line[96];
    const int n = std::snprintf(line, sizeof line, "seen %llu hits %llu\n", g_seen.load(), g_hits.load());
    const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0 && n > 0) {
        (void)!realWrite(fd, line, static_cast<size_t>(n));
    }
    if (fd >= 0) {
        ::close(fd);
    }
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* buffer, size_t count)
{
    static const auto fn = real<ssize_t (*)(int, const void*, size_t)>("write");
    const ssize_t n = fn(fd, buffer, count);
    note(buffer, n);
    return n;
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset)
{
    static const auto fn = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    const ssize_t n = fn(fd, buffer, count, offset);
    note(buffer, n);
    return n;
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset)
{
    static const auto fn = real<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    const ssize_t n = fn(fd, buffer, count, offset);
    note(buffer, n);
    return n;
}

ssize_t writev(int fd, const struct iovec* iov, int count)
{
    static const auto fn = real<ssize_t (*)(int, const struct iovec*, int)>("writev");
    const ssize_t n = fn(fd, iov, count);
    noteVector(iov, count, n);
    return n;
}

ssize_t pwritev(int fd, const struct iovec* iov, int count, off_t offset)
{
    static const auto fn = real<ssize_t (*)(int, const struct iovec*, int, off_t)>("pwritev");
    const ssize_t n = fn(fd, iov, count, offset);
    noteVector(iov, count, n);
    return n;
}

} // extern "C"
