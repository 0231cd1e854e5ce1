#include "MappedScan.h"

#include "WideText.h"
#include "Win32Api.h"

#include <cstring>
#include <string>

namespace kestrune_tool {

HRESULT FindZeroMapped(const char* name, std::uint64_t largest, std::uint64_t& at)
{
    std::wstring wide;
    const HRESULT converted = QORSysWide::FromUtf8(name, wide);
    if (converted < 0) return converted;
    const HANDLE file =
        ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return QORSysResultFromErrno(static_cast<int>(::GetLastError()));
    LARGE_INTEGER size{};
    HRESULT result = S_FALSE;
    // An empty file cannot be mapped; a view must fit the address space.
    if (::GetFileType(file) == FILE_TYPE_DISK && ::GetFileSizeEx(file, &size) != 0 && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX &&
        static_cast<unsigned long long>(size.QuadPart) <= largest) {
        const HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        const void* bytes = mapping != nullptr ? ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        if (bytes != nullptr) {
            const auto length = static_cast<std::size_t>(size.QuadPart);
            const void* zero = std::memchr(bytes, 0, length);
            at = zero == nullptr
                     ? UINT64_MAX
                     : static_cast<std::uint64_t>(static_cast<const char*>(zero) - static_cast<const char*>(bytes));
            ::UnmapViewOfFile(bytes);
            result = S_OK;
        }
        if (mapping != nullptr) ::CloseHandle(mapping);
    }
    ::CloseHandle(file);
    return result;
}

}  // namespace kestrune_tool
