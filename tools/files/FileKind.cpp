#include "FileKind.h"

#include "Report.h"

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include "WideText.h"
#include "Win32Api.h"
#endif

namespace fs = std::filesystem;

namespace kestrune_tool {

namespace {

#ifdef _WIN32
// Windows devices (NUL, CON, COM1) look like files to std::filesystem; the
// handle's type tells them, and CON would wait for the console.
const char* DeviceKind(const char* name)
{
    std::wstring wide;
    if (QORSysWide::FromUtf8(name, wide) < 0) return nullptr;
    const HANDLE handle = ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    const DWORD type = ::GetFileType(handle);
    ::CloseHandle(handle);
    return type == FILE_TYPE_CHAR ? "a character device" : type == FILE_TYPE_PIPE ? "a FIFO" : nullptr;
}
#else
const char* DeviceKind(const char*) { return nullptr; }
#endif

}  // namespace

const char* KindWords(fs::file_type type)
{
    switch (type) {
        case fs::file_type::regular:
        case fs::file_type::none:
        case fs::file_type::not_found: return nullptr;
        case fs::file_type::directory: return "a directory";
        case fs::file_type::character: return "a character device";
        case fs::file_type::block: return "a block device";
        case fs::file_type::fifo: return "a FIFO";
        case fs::file_type::socket: return "a socket";
        default: return "a file of another kind";
    }
}

const char* OddKind(const char* name)
{
    if (const char* kind = DeviceKind(name)) return kind;
    std::error_code error;
    const fs::file_type type = fs::status(fs::u8path(name), error).type();
    return error ? nullptr : KindWords(type);
}

int RegularOnly(const char* name, const char* done)
{
    const char* kind = OddKind(name);
    if (kind == nullptr) return kYes;
    return Refused(name, ("not a regular file (" + std::string(kind) + "): not " + done).c_str());
}

}  // namespace kestrune_tool
