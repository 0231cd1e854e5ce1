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

// The full path of name (UTF-8): ReplaceFileW finds the directory for its
// own temporary name in it.
HRESULT FullWide(const char* name, std::wstring& full)
{
    std::wstring wide;
    const HRESULT converted = QORSysWide::FromUtf8(name, wide);
    if (converted < 0) return converted;
    full.assign(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        full.empty() ? 0 : ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size()) return LastError();
    full.resize(length);
    return S_OK;
}

// Removes a temporary file left by a run that died. Opened alone, no live
// run holds it, but a live run lets go of its own just before ReplaceFileW
// takes it: one written in the last seconds is taken for live and left.
HRESULT ClaimStale(const char* name)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    const HRESULT opened = OpenWide(name, DELETE | FILE_READ_ATTRIBUTES, 0, OPEN_EXISTING, 0, file);
    if (opened < 0) return opened;
    FILETIME written{};
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    constexpr std::uint64_t kLive = 10ULL * 10000000;  // ten seconds, in 100 ns ticks
    HRESULT result = QORSysResultFromErrno(ERROR_SHARING_VIOLATION);
    if (::GetFileTime(file, nullptr, nullptr, &written) != 0 && ticks(now) - ticks(written) > kLive) {
        FILE_DISPOSITION_INFO gone{TRUE};
        result = ::SetFileInformationByHandle(file, FileDispositionInfo, &gone, sizeof gone) != 0 ? S_OK : LastError();
    }
    ::CloseHandle(file);
    return result;
}

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
    facts.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    facts.device = info.dwVolumeSerialNumber;
    facts.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    facts.links = info.nNumberOfLinks;
    facts.mode = facts.owner = facts.group = 0;  // Windows keeps none of these for us
    facts.modified = static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                               info.ftLastWriteTime.dwLowDateTime);
    FILE_BASIC_INFO basic{};
    const bool changed = got && ::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) != 0;
    facts.changed = changed ? basic.ChangeTime.QuadPart : 0;
    ::CloseHandle(file);
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
        const HRESULT stale = ClaimStale(name);
        if (stale < 0) return stale;
    }
}

HRESULT Sync(OsHandle handle) { return ::FlushFileBuffers(AsHandle(handle)) != 0 ? S_OK : LastError(); }

// ReplaceFileW gives the new file the original's owner, ACL, attributes and
// alternate data streams; there are no permission bits of ours to copy.
HRESULT SetOwner(OsHandle /*handle*/, const FileFacts& /*like*/) { return S_OK; }
HRESULT CopyAttributes(const char* /*from*/, OsHandle /*handle*/) { return S_OK; }
HRESULT SetMode(OsHandle /*handle*/, const FileFacts& /*like*/) { return S_OK; }

// ReplaceFileW opens the new file alone, so it is closed first (handle
// becomes INVALID_HANDLE_VALUE): from then on a run that finds the name
// could take it for stale, a window the POSIX lock does not leave. It is
// checked to be the file written just before. A program holding the
// original open (a virus scanner, an indexer) is waited for a little, as
// git does.
HRESULT Rename(OsHandle& handle, const char* from, const char* to)
{
    std::wstring wideFrom, wideTo;
    HRESULT converted = FullWide(from, wideFrom);
    if (converted >= 0) converted = FullWide(to, wideTo);
    if (converted < 0) return converted;
    FileFacts named{};
    BY_HANDLE_FILE_INFORMATION held{};
    if (::GetFileInformationByHandle(AsHandle(handle), &held) == 0) return LastError();
    const HRESULT looked = Stat(from, named);
    if (looked < 0) return looked;
    if (named.inode != ((std::uint64_t{held.nFileIndexHigh} << 32) | held.nFileIndexLow) ||
        named.device != held.dwVolumeSerialNumber)
        return S_FALSE;
    ::CloseHandle(AsHandle(handle));
    handle = reinterpret_cast<OsHandle>(INVALID_HANDLE_VALUE);
    for (const DWORD wait : {0, 10, 100, 1000}) {
        ::Sleep(wait);
        if (::ReplaceFileW(wideTo.c_str(), wideFrom.c_str(), nullptr, 0, nullptr, nullptr) != 0) return S_OK;
        const DWORD error = ::GetLastError();
        // The original is gone and the new file still under its temporary name: it goes in the place left.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
            return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH) != 0 ? S_OK : LastError();
        if (error != ERROR_UNABLE_TO_REMOVE_REPLACED) break;
    }
    return LastError();
}

HRESULT Close(OsHandle handle)
{
    if (AsHandle(handle) == INVALID_HANDLE_VALUE) return S_OK;  // Rename closed it
    return ::CloseHandle(AsHandle(handle)) != 0 ? S_OK : LastError();
}

// ReplaceFileW cannot write through: the directory's flush commits the change of names.
HRESULT SyncDirectory(const char* directory)
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    const HRESULT opened =
        OpenWide(directory, GENERIC_READ | GENERIC_WRITE, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, handle);
    if (opened < 0) return opened;
    const HRESULT result = ::FlushFileBuffers(handle) != 0 ? S_OK : LastError();
    ::CloseHandle(handle);
    return result;
}

HRESULT Remove(const char* name)
{
    std::wstring wide;
    const HRESULT converted = QORSysWide::FromUtf8(name, wide);
    if (converted < 0) return converted;
    return ::DeleteFileW(wide.c_str()) != 0 ? S_OK : LastError();
}

}  // namespace KESTRUNE_REPLACE_CALLS
