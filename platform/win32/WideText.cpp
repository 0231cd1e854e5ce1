#include "WideText.h"

#include "Win32Api.h"

namespace QORSysWide {

namespace {

HRESULT LastError() { return QORSysResultFromErrno(static_cast<int>(::GetLastError())); }

}  // namespace

HRESULT FromUtf8(const char* text, std::wstring& wide)
{
    // Sizes include the terminating zero.
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (size <= 0) return LastError();
    std::wstring converted(static_cast<std::size_t>(size), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, converted.data(), size) != size) {
        return LastError();
    }
    converted.pop_back();
    wide = converted;
    return S_OK;
}

HRESULT ToUtf8(const wchar_t* wide, std::string& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return LastError();
    std::string converted(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, converted.data(), size, nullptr, nullptr) !=
        size) {
        return LastError();
    }
    converted.pop_back();
    text = converted;
    return S_OK;
}

}  // namespace QORSysWide
