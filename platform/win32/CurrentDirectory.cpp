#include "CurrentDirectory.h"

#include "PathSyntax.h"
#include "WideText.h"
#include "Win32Api.h"

#include <vector>

namespace QORSysOs {

namespace {

// The full form of wide, in UTF-8: for L"." the current directory, for
// L"C:" drive C's current directory.
HRESULT FullPath(const wchar_t* wide, std::string& full)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = ::GetFullPathNameW(wide, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (size == 0) return QORSysResultFromErrno(static_cast<int>(::GetLastError()));
        if (size < buffer.size()) break;
        buffer.resize(size);
    }
    return QORSysWide::ToUtf8(buffer.data(), full);
}

}  // namespace

HRESULT JoinToCurrentDirectory(const std::string& relative, std::string& joined)
{
    const std::size_t drive = QORSysPathSyntax::DriveLength(relative);
    const wchar_t driveText[] = {drive != 0 ? static_cast<wchar_t>(relative[0]) : L'.', drive != 0 ? L':' : L'\0',
                                 L'\0'};
    std::string base;
    const HRESULT result = FullPath(driveText, base);
    if (result < 0) return result;
    if (drive == 0 && !relative.empty() && QORSysPathSyntax::IsSeparator(relative[0])) {
        // "\x": from the root of the current directory's drive or share.
        joined = base.substr(0, QORSysPathSyntax::RootLength(base)) + relative;
    } else {
        joined = base + QORSysPathSyntax::kSeparator + relative.substr(drive);
    }
    return S_OK;
}

}  // namespace QORSysOs
