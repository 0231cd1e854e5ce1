#include "QORSysFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint64_t kMaxPosition = 0xFFFFFFFFu;
// Linux moves at most about 2 GiB per read(2)/write(2); stay below that.
constexpr unsigned int kMaxChunk = 1u << 30;
// Read-ahead starts small, so that probing a file's first bytes stays cheap,
// and doubles with each refill while reading goes on, up to the largest.
constexpr unsigned int kFirstFill = 4096;
constexpr unsigned int kLargestFill = 128 * 1024;

bool IsOpen(const QORSysFileDescriptor& file) { return file.handle >= 0; }

unsigned int Buffered(const QORSysFileDescriptor& file) { return file.filled - file.next; }

bool OpenFlagsFor(const char* mode, int& flags)
{
    static const struct {
        const char* mode;
        int flags;
    } kModes[] = {
        {"rb", O_RDONLY},
        {"r+b", O_RDWR},
        {"wb", O_WRONLY | O_CREAT | O_TRUNC},
        {"w+b", O_RDWR | O_CREAT | O_TRUNC},
    };
    for (const auto& entry : kModes) {
        if (std::strcmp(mode, entry.mode) == 0) {
            flags = entry.flags;
            return true;
        }
    }
    return false;
}

// read(2) until count bytes or the end of the file.
HRESULT ReadDirect(int handle, char* buffer, unsigned int count, unsigned int& total)
{
    total = 0;
    while (total < count) {
        const unsigned int chunk = count - total < kMaxChunk ? count - total : kMaxChunk;
        const ssize_t got = ::read(handle, buffer + total, chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return QORSysResultFromErrno(errno);
        if (got == 0) break;
        total += static_cast<unsigned int>(got);
    }
    return S_OK;
}

// Refills the empty read-ahead buffer; false when no buffer can be had, so
// that the caller reads directly instead.
bool Refill(QORSysFileDescriptor& file, HRESULT& result)
{
    if (file.buffer == nullptr) file.buffer = static_cast<char*>(std::malloc(kLargestFill));
    if (file.buffer == nullptr) return false;
    unsigned int size = file.filled * 2;
    size = size < kFirstFill ? kFirstFill : size > kLargestFill ? kLargestFill : size;
    ssize_t got;
    do {
        got = ::read(file.handle, file.buffer, size);
    } while (got < 0 && errno == EINTR);
    file.next = 0;
    file.filled = got > 0 ? static_cast<unsigned int>(got) : 0;
    result = got < 0 ? QORSysResultFromErrno(errno) : S_OK;
    return true;
}

// Gives back to the operating system the bytes read ahead but not taken, so
// that its position is the caller's again.
HRESULT DropReadAhead(QORSysFileDescriptor& file)
{
    if (Buffered(file) != 0 && ::lseek(file.handle, -static_cast<off_t>(Buffered(file)), SEEK_CUR) < 0) {
        return QORSysResultFromErrno(errno);
    }
    file.next = file.filled = 0;
    return S_OK;
}

// The caller's position: the operating system's, less what was read ahead.
std::int64_t LogicalPosition(const QORSysFileDescriptor& file)
{
    const off_t where = ::lseek(file.handle, 0, SEEK_CUR);
    return where < 0 ? -1 : where - Buffered(file);
}

}  // namespace

HRESULT QORSysFOpen(const QORSysPath& path, const char* mode, QORSysFileDescriptor& file, int flags)
{
    file = QORSysFileDescriptor{};
    int openFlags = 0;
    const char* name = path.ConvertToChar();
    if (mode == nullptr || flags != 0 || *name == '\0' || !OpenFlagsFor(mode, openFlags)) return QORSYS_E_INVALIDARG;
    int fd;
    do {
        fd = ::open(name, openFlags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return QORSysResultFromErrno(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return QORSysResultFromErrno(error);
    }
    file.handle = fd;
    return S_OK;
}

HRESULT QORSysFClose(QORSysFileDescriptor& file)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    std::free(file.buffer);
    // The descriptor is gone whatever close(2) says; retrying could close another file's.
    const int result = ::close(file.handle);
    file = QORSysFileDescriptor{};
    return result == 0 ? S_OK : QORSysResultFromErrno(errno);
}

HRESULT QORSysFRead(QORSysFileDescriptor& file, char* buffer, unsigned int count, unsigned int* bytesRead)
{
    if (bytesRead != nullptr) *bytesRead = 0;
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    if (buffer == nullptr && count != 0) return QORSYS_E_INVALIDARG;
    unsigned int total = 0;
    HRESULT result = S_OK;
    while (total < count && result >= 0) {
        if (Buffered(file) == 0) {
            // Large reads go straight to the caller's buffer: copying would only cost.
            const unsigned int rest = count - total;
            if (rest < kLargestFill && Refill(file, result)) {
                if (file.filled == 0) break;  // the end of the file
            } else {
                unsigned int got = 0;
                result = ReadDirect(file.handle, buffer + total, rest, got);
                total += got;
                break;
            }
        }
        const unsigned int take = count - total < Buffered(file) ? count - total : Buffered(file);
        std::memcpy(buffer + total, file.buffer + file.next, take);
        file.next += take;
        total += take;
    }
    if (bytesRead != nullptr) *bytesRead = total;
    return result;
}

HRESULT QORSysFWrite(QORSysFileDescriptor& file, const char* buffer, unsigned int count, unsigned int* bytesWritten)
{
    if (bytesWritten != nullptr) *bytesWritten = 0;
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    if (buffer == nullptr && count != 0) return QORSYS_E_INVALIDARG;
    const HRESULT dropped = DropReadAhead(file);
    if (dropped < 0) return dropped;
    unsigned int total = 0;
    while (total < count) {
        const unsigned int chunk = count - total < kMaxChunk ? count - total : kMaxChunk;
        const ssize_t put = ::write(file.handle, buffer + total, chunk);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (bytesWritten != nullptr) *bytesWritten = total;
            return QORSysResultFromErrno(put < 0 ? errno : EIO);
        }
        total += static_cast<unsigned int>(put);
    }
    if (bytesWritten != nullptr) *bytesWritten = total;
    return S_OK;
}

HRESULT QORSysFSeek(QORSysFileDescriptor& file, int offset, int origin)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    std::int64_t base = 0;
    std::int64_t distance = offset;
    if (origin == 0) {
        distance = static_cast<unsigned int>(offset);  // a told position, which may exceed INT_MAX
    } else if (origin == 1) {
        base = LogicalPosition(file);
    } else if (origin == 2) {
        struct stat info {};
        base = ::fstat(file.handle, &info) == 0 ? info.st_size : -1;
    } else {
        return QORSYS_E_INVALIDARG;
    }
    if (base < 0) return QORSysResultFromErrno(errno);
    const std::int64_t target = base + distance;
    if (target < 0) return QORSYS_E_INVALIDARG;
    if (static_cast<std::uint64_t>(target) > kMaxPosition) return QORSYS_E_OVERFLOW;
    if (::lseek(file.handle, static_cast<off_t>(target), SEEK_SET) < 0) return QORSysResultFromErrno(errno);
    file.next = file.filled = 0;
    return S_OK;
}

HRESULT QORSysFTell(QORSysFileDescriptor& file, unsigned int* position)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    if (position == nullptr) return QORSYS_E_INVALIDARG;
    const std::int64_t where = LogicalPosition(file);
    if (where < 0) return QORSysResultFromErrno(errno);
    if (static_cast<std::uint64_t>(where) > kMaxPosition) return QORSYS_E_OVERFLOW;
    *position = static_cast<unsigned int>(where);
    return S_OK;
}

HRESULT QORSysFSize(QORSysFileDescriptor& file, unsigned int* size)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    if (size == nullptr) return QORSYS_E_INVALIDARG;
    struct stat info {};
    if (::fstat(file.handle, &info) != 0) return QORSysResultFromErrno(errno);
    if (static_cast<std::uint64_t>(info.st_size) > kMaxPosition) return QORSYS_E_OVERFLOW;
    *size = static_cast<unsigned int>(info.st_size);
    return S_OK;
}

HRESULT QORSysFGetc(QORSysFileDescriptor& file, int* character)
{
    if (character == nullptr) return QORSYS_E_INVALIDARG;
    *character = -1;
    if (Buffered(file) != 0) {
        *character = static_cast<unsigned char>(file.buffer[file.next++]);
        return S_OK;
    }
    unsigned char byte = 0;
    unsigned int got = 0;
    const HRESULT result = QORSysFRead(file, reinterpret_cast<char*>(&byte), 1, &got);
    if (result < 0) return result;
    if (got == 0) return S_FALSE;
    *character = byte;
    return S_OK;
}
