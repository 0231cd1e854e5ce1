#include "CurrentDirectory.h"
#include "PathSyntax.h"
#include "VELGeneral.h"

#include <string>
#include <vector>

namespace {

using namespace QORSysPathSyntax;

// Keeps the root (with the platform's separators), drops empty and "."
// components and lets ".." remove the one before it; the root's parent is
// the root.
std::string Normalise(const std::string& absolute)
{
    const std::size_t rootLength = RootLength(absolute);
    std::string result = absolute.substr(0, rootLength);
    for (char& c : result) {
        if (IsSeparator(c)) c = kSeparator;
    }
    std::vector<std::string> parts;
    std::size_t start = rootLength;
    while (start <= absolute.size()) {
        std::size_t end = start;
        while (end < absolute.size() && !IsSeparator(absolute[end])) ++end;
        const std::string part = absolute.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    for (const std::string& part : parts) {
        if (result.empty() || !IsSeparator(result.back())) result += kSeparator;
        result += part;
    }
    return result;
}

}  // namespace

HRESULT VELGetAbsolutePath(const VELUnicodeString* path, VELUnicodeString& absolutePath)
{
    if (path == nullptr) return QORSYS_E_INVALIDARG;
    std::string joined = path->ConvertToChar();
    if (RootLength(joined) == 0) {
        const HRESULT result = QORSysOs::JoinToCurrentDirectory(std::string(joined), joined);
        if (result < 0) return result;
    }
    absolutePath = VELUnicodeString(Normalise(joined).c_str());
    return S_OK;
}
