#include "Program.h"

#include "WideText.h"
#include "Win32Api.h"

#include <algorithm>

namespace kestrune_tool {

namespace {

// arg as one word of a command line, as the C runtime splits it: in quotes,
// backslashes doubled where a quote follows them.
std::wstring Quoted(const std::wstring& arg)
{
    std::wstring word = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        word.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        word += c;
    }
    word.append(backslashes * 2, L'\\');
    return word + L"\"";
}

// The program's file in a directory of PATH, never the current directory
// (CreateProcessW would look there first, and a walked tree may hold a
// program of that name); empty when there is none.
std::wstring OnPath(const std::wstring& program)
{
    std::wstring path(32767, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t end = std::min(path.find(L';', at), path.size());
        std::wstring directory = path.substr(at, end - at);
        at = end + 1;
        if (directory.empty() || directory == L".") continue;
        if (directory.back() != L'\\' && directory.back() != L'/') directory += L'\\';
        const std::wstring file = directory + program + L".exe";
        const DWORD kind = ::GetFileAttributesW(file.c_str());
        if (kind != INVALID_FILE_ATTRIBUTES && (kind & FILE_ATTRIBUTE_DIRECTORY) == 0) return file;
    }
    return {};
}

}  // namespace

bool RunForOutput(const std::vector<std::string>& args, std::string& output)
{
    std::wstring program;
    if (args.empty() || QORSysWide::FromUtf8(args[0].c_str(), program) < 0) return false;
    const std::wstring file = OnPath(program);
    if (file.empty()) return false;
    std::wstring line;
    for (const std::string& arg : args) {
        std::wstring wide;
        if (QORSysWide::FromUtf8(arg.c_str(), wide) < 0) return false;
        line += (line.empty() ? L"" : L" ") + Quoted(wide);
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE from = nullptr;
    HANDLE to = nullptr;
    if (!::CreatePipe(&from, &to, &inherited, 0)) return false;
    ::SetHandleInformation(from, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = to;
    startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(to);
    if (nul != INVALID_HANDLE_VALUE) ::CloseHandle(nul);
    if (!started) {
        ::CloseHandle(from);
        return false;
    }
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    ::CloseHandle(from);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return code == 0;
}

}  // namespace kestrune_tool
