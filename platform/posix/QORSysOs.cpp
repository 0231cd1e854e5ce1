#include "QORSysOs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace QORSYS_OS_CALLS {

namespace {

int OpenFlags(QORSysOs::Access access)
{
    switch (access) {
        case QORSysOs::Access::Read: return O_RDONLY;
        case QORSysOs::Access::ReadWrite: return O_RDWR;
        case QORSysOs::Access::Write: return O_WRONLY | O_CREAT | O_TRUNC;
        case QORSysOs::Access::WriteRead: break;
    }
    return O_RDWR | O_CREAT | O_TRUNC;
}

HRESULT LastError() { return QORSysResultFromErrno(errno); }

// One read(2) or write(2), retried when a signal interrupts it; moved gets
// the bytes it moved.
template <typename Call>
HRESULT Transfer(Call call, unsigned int& moved)
{
    ssize_t result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    moved = result > 0 ? static_cast<unsigned int>(result) : 0;
    return result < 0 ? LastError() : S_OK;
}

}  // namespace

HRESULT Open(const char* name, QORSysOs::Access access, QORSysOs::Handle& handle)
{
    int fd;
    do {
        fd = ::open(name, OpenFlags(access) | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return LastError();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return QORSysResultFromErrno(error);
    }
    handle = fd;
    return S_OK;
}

HRESULT Read(QORSysOs::Handle handle, char* buffer, unsigned int count, unsigned int& got)
{
    return Transfer([&] { return ::read(static_cast<int>(handle), buffer, count); }, got);
}

HRESULT Write(QORSysOs::Handle handle, const char* buffer, unsigned int count, unsigned int& put)
{
    return Transfer([&] { return ::write(static_cast<int>(handle), buffer, count); }, put);
}

HRESULT Seek(QORSysOs::Handle handle, std::int64_t offset, int origin, std::int64_t& position)
{
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    const off_t where = ::lseek(static_cast<int>(handle), static_cast<off_t>(offset), whence);
    if (where < 0) return LastError();
    position = where;
    return S_OK;
}

HRESULT Size(QORSysOs::Handle handle, std::uint64_t& size)
{
    struct stat info {};
    if (::fstat(static_cast<int>(handle), &info) != 0) return LastError();
    size = static_cast<std::uint64_t>(info.st_size);
    return S_OK;
}

HRESULT Close(QORSysOs::Handle handle)
{
    // Not retried on EINTR: the descriptor is gone, and a retry could close another file's.
    return ::close(static_cast<int>(handle)) == 0 ? S_OK : LastError();
}

void* Allocate(std::size_t size) { return std::malloc(size); }

void Release(void* block) { std::free(block); }

}  // namespace QORSYS_OS_CALLS
