#include "ReplaceOs.h"

#include "WideText.h"
#include "Win32Api.h"

#include <string>

using kestrune_tool::FileFacts;
using kestrune_tool::OsHandle;

namespace KESTRUNE_REPLACE_CALLS {

namespace {

HRESULT LastError() { return QORSysResultFromErrno(static_cast<int>(::GetLastError())); }

HANDLE AsHandle(OsHandle handle) { return reinterpret_cast<HANDLE>(handle); }

// Opens name (UTF-8) with CreateFileW.
HRESULT OpenWide(const char* name, DWORD access, DWORD share, DWORD how, DWORD flags, HANDLE& handle)
{
    std::wstring wide;
    const HRESULT converted = QORSysWide::FromUtf8(name, wide);
    if (converted < 0) return converted;
    handle = ::CreateFileW(wide.c_str(), access, share, nullptr, how, flags, nullptr);
    return handle == INVALID_HANDLE_VALUE ? LastError() : S_OK;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

HRESULT Stat(const char* name, FileFacts& facts)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    const HRESULT opened = OpenWide(name, 0, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, file);
    if (opened < 0) return opened;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool got = ::GetFileInformationByHandle(file, &info) != 0;
    const HRESULT result = got ? S_OK : LastError();
    facts.regular =
        got && ::GetFileType(file) == FILE_TYPE_DISK && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    ::CloseHandle(file);
    facts.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    facts.device = info.dwVolumeSerialNumber;
    facts.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    facts.links = info.nNumberOfLinks;
    facts.mode = facts.owner = facts.group = 0;  // Windows keeps none of these for us
    facts.modified = static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                               info.ftLastWriteTime.dwLowDateTime);
    return result;
}

HRESULT CreateTemp(const char* name, OsHandle& handle)
{
    for (int attempt = 0;; ++attempt) {
        HANDLE file = INVALID_HANDLE_VALUE;
        const HRESULT created = OpenWide(name, GENERIC_WRITE, kShareAll, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, file);
        if (created >= 0) {
            handle = reinterpret_cast<OsHandle>(file);
            return S_OK;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS || attempt > 0) return created;
        // Opened alone, it was left by a run that died: gone when closed. A live run's open fails the share.
        const HRESULT stale = OpenWide(name, DELETE, 0, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, file);
        if (stale < 0) return stale;
        ::CloseHandle(file);
    }
}

HRESULT Sync(OsHandle handle) { return ::FlushFileBuffers(AsHandle(handle)) != 0 ? S_OK : LastError(); }

// Windows keeps no permission bits of ours to copy.
HRESULT SetMode(OsHandle /*handle*/, const FileFacts& /*like*/) { return S_OK; }

HRESULT Close(OsHandle handle) { return ::CloseHandle(AsHandle(handle)) != 0 ? S_OK : LastError(); }

HRESULT Rename(const char* from, const char* to)
{
    std::wstring wideFrom, wideTo;
    HRESULT converted = QORSysWide::FromUtf8(from, wideFrom);
    if (converted >= 0) converted = QORSysWide::FromUtf8(to, wideTo);
    if (converted < 0) return converted;
    const DWORD how = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), how) != 0 ? S_OK : LastError();
}

// MOVEFILE_WRITE_THROUGH has flushed the rename.
HRESULT SyncDirectory(const char* /*directory*/) { return S_OK; }

HRESULT Remove(const char* name)
{
    std::wstring wide;
    const HRESULT converted = QORSysWide::FromUtf8(name, wide);
    if (converted < 0) return converted;
    return ::DeleteFileW(wide.c_str()) != 0 ? S_OK : LastError();
}

}  // namespace KESTRUNE_REPLACE_CALLS
