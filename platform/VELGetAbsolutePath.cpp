#include "VELGeneral.h"

#include <unistd.h>
#include <cerrno>
#include <string>
#include <vector>

namespace {

HRESULT CurrentDirectory(std::string& directory)
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return QORSysResultFromErrno(errno);
        buffer.resize(buffer.size() * 2);
    }
    directory = buffer.data();
    return S_OK;
}

// Drops empty and "." components and lets ".." remove the one before it; the
// root's parent is the root.
std::string Normalise(const std::string& absolute)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= absolute.size()) {
        std::size_t slash = absolute.find('/', start);
        if (slash == std::string::npos) slash = absolute.size();
        const std::string part = absolute.substr(start, slash - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::string result;
    for (const std::string& part : parts) result += "/" + part;
    return result.empty() ? "/" : result;
}

}  // namespace

HRESULT VELGetAbsolutePath(const VELUnicodeString* path, VELUnicodeString& absolutePath)
{
    if (path == nullptr) return QORSYS_E_INVALIDARG;
    std::string joined = path->ConvertToChar();
    if (joined.empty() || joined[0] != '/') {
        std::string directory;
        const HRESULT result = CurrentDirectory(directory);
        if (result < 0) return result;
        joined = directory + "/" + joined;
    }
    absolutePath = VELUnicodeString(Normalise(joined).c_str());
    return S_OK;
}
