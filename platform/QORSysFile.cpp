#include "QORSysFile.h"

#include "QORSysOs.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t kMaxPosition = 0xFFFFFFFFu;
// Systems move at most about 2 GiB per read or write; stay below that.
constexpr unsigned int kMaxChunk = 1u << 30;
// Read-ahead starts small, so that probing a file's first bytes stays cheap,
// and doubles with each refill while reading goes on, up to the largest.
constexpr unsigned int kFirstFill = 4096;
constexpr unsigned int kLargestFill = 128 * 1024;

bool IsOpen(const QORSysFileDescriptor& file) { return file.handle >= 0; }

unsigned int Buffered(const QORSysFileDescriptor& file) { return file.filled - file.next; }

bool AccessFor(const char* mode, QORSysOs::Access& access)
{
    static const struct {
        const char* mode;
        QORSysOs::Access access;
    } kModes[] = {
        {"rb", QORSysOs::Access::Read},
        {"r+b", QORSysOs::Access::ReadWrite},
        {"wb", QORSysOs::Access::Write},
        {"w+b", QORSysOs::Access::WriteRead},
    };
    for (const auto& entry : kModes) {
        if (std::strcmp(mode, entry.mode) == 0) {
            access = entry.access;
            return true;
        }
    }
    return false;
}

// Reads until count bytes or the end of the file.
HRESULT ReadDirect(int handle, char* buffer, unsigned int count, unsigned int& total)
{
    total = 0;
    while (total < count) {
        const unsigned int chunk = count - total < kMaxChunk ? count - total : kMaxChunk;
        unsigned int got = 0;
        const HRESULT result = QORSysOs::Read(handle, buffer + total, chunk, got);
        if (result < 0) return result;
        if (got == 0) break;
        total += got;
    }
    return S_OK;
}

// Refills the empty read-ahead buffer; false when no buffer can be had, so
// that the caller reads directly instead.
bool Refill(QORSysFileDescriptor& file, HRESULT& result)
{
    if (file.buffer == nullptr) file.buffer = static_cast<char*>(QORSysOs::Allocate(kLargestFill));
    if (file.buffer == nullptr) return false;
    unsigned int size = file.filled * 2;
    size = size < kFirstFill ? kFirstFill : size > kLargestFill ? kLargestFill : size;
    file.next = file.filled = 0;
    result = QORSysOs::Read(file.handle, file.buffer, size, file.filled);
    return true;
}

// Gives back to the system the bytes read ahead but not taken, so that its
// position is the caller's again.
HRESULT DropReadAhead(QORSysFileDescriptor& file)
{
    std::int64_t where = 0;
    if (Buffered(file) != 0) {
        const HRESULT result = QORSysOs::Seek(file.handle, -static_cast<std::int64_t>(Buffered(file)), 1, where);
        if (result < 0) return result;
    }
    file.next = file.filled = 0;
    return S_OK;
}

// The caller's position: the system's, less what was read ahead.
HRESULT LogicalPosition(const QORSysFileDescriptor& file, std::int64_t& position)
{
    const HRESULT result = QORSysOs::Seek(file.handle, 0, 1, position);
    position -= Buffered(file);
    return result;
}

}  // namespace

HRESULT QORSysFOpen(const QORSysPath& path, const char* mode, QORSysFileDescriptor& file, int flags)
{
    file = QORSysFileDescriptor{};
    QORSysOs::Access access{};
    const char* name = path.ConvertToChar();
    if (mode == nullptr || flags != 0 || *name == '\0' || !AccessFor(mode, access)) return QORSYS_E_INVALIDARG;
    QORSysOs::Handle handle = QORSysOs::kNoHandle;
    const HRESULT result = QORSysOs::Open(name, access, handle);
    if (result < 0) return result;
    // System handles fit in 32 bits on every platform (Win32 guarantees it too).
    file.handle = static_cast<int>(handle);
    return S_OK;
}

HRESULT QORSysFClose(QORSysFileDescriptor& file)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    QORSysOs::Release(file.buffer);
    const HRESULT result = QORSysOs::Close(file.handle);
    file = QORSysFileDescriptor{};
    return result;
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
                if (file.filled == 0) break;  // the end of the file, or a failure
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
    HRESULT result = DropReadAhead(file);
    unsigned int total = 0;
    while (result >= 0 && total < count) {
        const unsigned int chunk = count - total < kMaxChunk ? count - total : kMaxChunk;
        unsigned int put = 0;
        result = QORSysOs::Write(file.handle, buffer + total, chunk, put);
        // A write that moves nothing would move nothing again.
        if (result >= 0 && put == 0) result = QORSYS_E_WRITEFAULT;
        total += put;
    }
    if (bytesWritten != nullptr) *bytesWritten = total;
    return result;
}

HRESULT QORSysFSeek(QORSysFileDescriptor& file, int offset, int origin)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    std::int64_t base = 0;
    std::int64_t distance = offset;
    HRESULT result = S_OK;
    if (origin == 0) {
        distance = static_cast<unsigned int>(offset);  // a told position, which may exceed INT_MAX
    } else if (origin == 1) {
        result = LogicalPosition(file, base);
    } else if (origin == 2) {
        std::uint64_t size = 0;
        result = QORSysOs::Size(file.handle, size);
        base = static_cast<std::int64_t>(size);
    } else {
        return QORSYS_E_INVALIDARG;
    }
    if (result < 0) return result;
    const std::int64_t target = base + distance;
    if (target < 0) return QORSYS_E_INVALIDARG;
    if (static_cast<std::uint64_t>(target) > kMaxPosition) return QORSYS_E_OVERFLOW;
    std::int64_t where = 0;
    result = QORSysOs::Seek(file.handle, target, 0, where);
    if (result < 0) return result;
    file.next = file.filled = 0;
    return S_OK;
}

HRESULT QORSysFTell(QORSysFileDescriptor& file, unsigned int* position)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    if (position == nullptr) return QORSYS_E_INVALIDARG;
    std::int64_t where = 0;
    const HRESULT result = LogicalPosition(file, where);
    if (result < 0) return result;
    if (static_cast<std::uint64_t>(where) > kMaxPosition) return QORSYS_E_OVERFLOW;
    *position = static_cast<unsigned int>(where);
    return S_OK;
}

HRESULT QORSysFSize(QORSysFileDescriptor& file, unsigned int* size)
{
    if (!IsOpen(file)) return QORSYS_E_NOTOPEN;
    if (size == nullptr) return QORSYS_E_INVALIDARG;
    std::uint64_t bytes = 0;
    const HRESULT result = QORSysOs::Size(file.handle, bytes);
    if (result < 0) return result;
    if (bytes > kMaxPosition) return QORSYS_E_OVERFLOW;
    *size = static_cast<unsigned int>(bytes);
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
