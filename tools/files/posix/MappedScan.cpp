#include "MappedScan.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstring>

namespace kestrune_tool {

namespace {

// A file cut short by another program while it is looked at leaves pages of
// the mapping with nothing behind them: touching one raises SIGBUS, which
// leads back here instead of ending the process.
sigjmp_buf* volatile cutShort = nullptr;

void OnBusError(int /*signal*/)
{
    if (cutShort != nullptr) siglongjmp(*cutShort, 1);
    std::signal(SIGBUS, SIG_DFL);
    std::raise(SIGBUS);
}

// The offset of the first zero byte in bytes, UINT64_MAX for none; false
// when the file was cut short under the mapping.
bool FindZero(const char* bytes, std::size_t size, std::uint64_t& at)
{
    struct sigaction guard {};
    struct sigaction before {};
    guard.sa_handler = OnBusError;
    sigemptyset(&guard.sa_mask);
    ::sigaction(SIGBUS, &guard, &before);
    sigjmp_buf back;
    const bool whole = sigsetjmp(back, 1) == 0;
    if (whole) {
        cutShort = &back;
        const void* zero = std::memchr(bytes, 0, size);
        at = zero == nullptr ? UINT64_MAX : static_cast<std::uint64_t>(static_cast<const char*>(zero) - bytes);
    }
    cutShort = nullptr;
    ::sigaction(SIGBUS, &before, nullptr);
    return whole;
}

}  // namespace

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
            // Cut short: read instead, which tells how.
            if (FindZero(static_cast<const char*>(bytes), size, at)) result = S_OK;
            ::munmap(bytes, size);
        }
    }
    ::close(fd);
    return result;
}

}  // namespace kestrune_tool
