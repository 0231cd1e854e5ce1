#include "StandardDescriptors.h"

#include <fcntl.h>
#include <cerrno>

namespace kestrune_tool {

bool KeepStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        // The lowest free number is fd itself, since those below it are open.
        if (::open("/dev/null", O_RDWR) != fd) return false;
    }
    return true;
}

}  // namespace kestrune_tool
