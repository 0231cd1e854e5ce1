#include "QORSysOs.h"

#include "WideText.h"
#include "Win32Api.h"

#include <cstdlib>
#include <string>

namespace QORSYS_OS_CALLS {

namespace {

HRESULT LastError() { return QORSysResultFromErrno(static_cast<int>(::GetLastError())); }

// Kernel handles use only their low 32 bits, so they survive the record's int.
HANDLE AsHandle(QORSysOs::Handle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

HRESULT Open(const char* name, QORSysOs::Access access, QORSysOs::Handle& handle)
{
    std::wstring wide;
    const HRESULT converted = QORSysWide::FromUtf8(name, wide);
    if (converted < 0) return converted;
    const bool reads = access != QORSysOs::Access::Write;
    const bool writes = access != QORSysOs::Access::Read;
    const bool creates = access == QORSysOs::Access::Write || access == QORSysOs::Access::WriteRead;
    // Share everything, as POSIX does: a second open of the same file, even
    // one that renames or deletes it, works while this one stays open.
    const HANDLE opened = ::CreateFileW(wide.c_str(), (reads ? GENERIC_READ : 0) | (writes ? GENERIC_WRITE : 0),
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        creates ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return LastError();
    // Windows opens a directory only with backup semantics; refuse one anyway, as on POSIX.
    DWORD error = ERROR_SUCCESS;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(opened) == FILE_TYPE_DISK) {
        if (!::GetFileInformationByHandle(opened, &info)) {
            error = ::GetLastError();
        } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            error = ERROR_ACCESS_DENIED;
        }
    }
    if (error != ERROR_SUCCESS) {
        ::CloseHandle(opened);
        return QORSysResultFromErrno(static_cast<int>(error));
    }
    handle = reinterpret_cast<QORSysOs::Handle>(opened);
    return S_OK;
}

HRESULT Read(QORSysOs::Handle handle, char* buffer, unsigned int count, unsigned int& got)
{
    DWORD done = 0;
    const BOOL ok = ::ReadFile(AsHandle(handle), buffer, count, &done, nullptr);
    got = ok ? done : 0;
    return ok ? S_OK : LastError();
}

HRESULT Write(QORSysOs::Handle handle, const char* buffer, unsigned int count, unsigned int& put)
{
    DWORD done = 0;
    const BOOL ok = ::WriteFile(AsHandle(handle), buffer, count, &done, nullptr);
    put = ok ? done : 0;
    return ok ? S_OK : LastError();
}

HRESULT Seek(QORSysOs::Handle handle, std::int64_t offset, int origin, std::int64_t& position)
{
    const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER where{};
    if (!::SetFilePointerEx(AsHandle(handle), distance, &where, method)) return LastError();
    position = where.QuadPart;
    return S_OK;
}

HRESULT Size(QORSysOs::Handle handle, std::uint64_t& size)
{
    LARGE_INTEGER bytes{};
    if (!::GetFileSizeEx(AsHandle(handle), &bytes)) return LastError();
    size = static_cast<std::uint64_t>(bytes.QuadPart);
    return S_OK;
}

HRESULT Close(QORSysOs::Handle handle) { return ::CloseHandle(AsHandle(handle)) ? S_OK : LastError(); }

void* Allocate(std::size_t size) { return std::malloc(size); }

void Release(void* block) { std::free(block); }

}  // namespace QORSYS_OS_CALLS
