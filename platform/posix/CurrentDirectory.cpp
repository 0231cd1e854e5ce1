#include "CurrentDirectory.h"

#include <unistd.h>
#include <cerrno>
#include <vector>

namespace QORSysOs {

HRESULT JoinToCurrentDirectory(const std::string& relative, std::string& joined)
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return QORSysResultFromErrno(errno);
        buffer.resize(buffer.size() * 2);
    }
    joined = std::string(buffer.data()) + "/" + relative;
    return S_OK;
}

}  // namespace QORSysOs
