// How Windows path text is read: "\" and "/" both separate; a path is
// absolute with a drive and a separator ("C:\") or as a UNC path
// ("\\server\share"). "\x" (the current drive's root) and "C:x" (drive C's
// current directory) are relative: they still need a current directory.
#ifndef KESTRUNE_PATHSYNTAX_H
#define KESTRUNE_PATHSYNTAX_H

#include <string>

namespace QORSysPathSyntax {
inline constexpr char kSeparator = '\\';
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }
/// 2 when text starts with a drive ("C:"), else 0.
inline std::size_t DriveLength(const std::string& text)
{
    const char letter = static_cast<char>(text.empty() ? 0 : text[0] | 0x20);
    return text.size() >= 2 && letter >= 'a' && letter <= 'z' && text[1] == ':' ? 2 : 0;
}
/// Length of the root that makes text absolute ("C:\", "\\server\share");
/// 0 for a relative text.
inline std::size_t RootLength(const std::string& text)
{
    if (DriveLength(text) != 0) return text.size() > 2 && IsSeparator(text[2]) ? 3 : 0;
    if (text.size() < 2 || !IsSeparator(text[0]) || !IsSeparator(text[1])) return 0;
    const auto separatorFrom = [&](std::size_t from) {
        while (from < text.size() && !IsSeparator(text[from])) ++from;
        return from;
    };
    const std::size_t server = separatorFrom(2);
    return server == text.size() ? server : separatorFrom(server + 1);
}
/// Where the last component of text starts.
inline std::size_t NameStart(const std::string& text)
{
    const std::size_t separator = text.find_last_of("\\/");
    const std::size_t after = separator == std::string::npos ? 0 : separator + 1;
    return after > DriveLength(text) ? after : DriveLength(text);
}
}  // namespace QORSysPathSyntax

#endif
