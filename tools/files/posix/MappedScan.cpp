#include "MappedScan.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace kestrune_tool {

HRESULT FindZeroMapped(const char* name, std::uint64_t largest, std::uint64_t& at)
{
    const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return QORSysResultFromErrno(errno);
    struct stat info {};
    HRESULT result = S_FALSE;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        static_cast<std::uint64_t>(info.st_size) <= largest) {
        const auto size = static_cast<std::size_t>(info.st_size);
        void* bytes = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (bytes != MAP_FAILED) {
            const void* zero = std::memchr(bytes, 0, size);
            at = zero == nullptr
                     ? UINT64_MAX
                     : static_cast<std::uint64_t>(static_cast<const char*>(zero) - static_cast<const char*>(bytes));
            ::munmap(bytes, size);
            result = S_OK;
        }
    }
    ::close(fd);
    return result;
}

}  // namespace kestrune_tool
