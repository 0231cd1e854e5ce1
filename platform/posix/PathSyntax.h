// How POSIX path text is read: "/" separates and starts every absolute path.
#ifndef KESTRUNE_PATHSYNTAX_H
#define KESTRUNE_PATHSYNTAX_H

#include <string>

namespace QORSysPathSyntax {
inline constexpr char kSeparator = '/';
inline bool IsSeparator(char c) { return c == '/'; }
/// Length of the root that makes text absolute ("/"); 0 for a relative text.
inline std::size_t RootLength(const std::string& text) { return !text.empty() && text[0] == '/' ? 1 : 0; }
/// Where the last component of text starts.
inline std::size_t NameStart(const std::string& text)
{
    const std::size_t slash = text.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}
}  // namespace QORSysPathSyntax

#endif
