#include "ReplaceOs.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>

using kestrune_tool::FileFacts;
using kestrune_tool::OsHandle;

namespace KESTRUNE_REPLACE_CALLS {

namespace {

HRESULT Result(int status) { return status == 0 ? S_OK : QORSysResultFromErrno(errno); }

int Descriptor(OsHandle handle) { return static_cast<int>(handle); }

// The temporary files being written, one per thread at most, removed when a
// signal ends the run (as git removes its lock files); SIGKILL leaves them to
// the next run. A slot changes hands by compare-and-swap only, so that the
// handler never reads a name half written and a name is never reused under it.
enum : unsigned char { kFree, kWriting, kSet };
static_assert(std::atomic<unsigned char>::is_always_lock_free, "the signal handler reads the slots");
constexpr std::size_t kSlots = 1025;  // as many jobs as a walk takes, and the main thread
std::atomic<unsigned char> slots[kSlots];
char pending[kSlots][4096];
thread_local std::size_t mine = kSlots;  // this thread's slot; kSlots for none

void RemovePending(int signal)
{
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        unsigned char set = kSet;
        if (slots[slot].compare_exchange_strong(set, kWriting)) ::unlink(pending[slot]);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Forget()
{
    unsigned char set = kSet;
    if (mine != kSlots) slots[mine].compare_exchange_strong(set, kFree);  // else the handler has it: the run ends
    mine = kSlots;
}

void Watch(const char* name)
{
    static const bool watching = [] {
        for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE}) std::signal(signal, RemovePending);
        return true;
    }();
    static_cast<void>(watching);
    Forget();
    const std::size_t length = std::strlen(name);
    for (std::size_t slot = 0; length < sizeof pending[0] && slot < kSlots; ++slot) {
        unsigned char free = kFree;
        if (!slots[slot].compare_exchange_strong(free, kWriting)) continue;
        std::memcpy(pending[slot], name, length + 1);
        slots[slot].store(kSet);
        mine = slot;
        return;
    }
}

// Removes a temporary file that no live run holds (its lock went with its
// process), making sure the name still is the file that was found stale.
HRESULT ClaimStale(const char* name)
{
    const int old = ::open(name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (old < 0) return errno == ENOENT ? S_OK : QORSysResultFromErrno(errno);
    struct stat held {
    }, named{};
    HRESULT result = QORSysResultFromErrno(EBUSY);
    if (::flock(old, LOCK_EX | LOCK_NB) == 0 && ::fstat(old, &held) == 0) {
        const bool same = ::lstat(name, &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev;
        result = same ? Result(::unlink(name)) : S_OK;
    }
    ::close(old);
    return result;
}

}  // namespace

HRESULT Stat(const char* name, FileFacts& facts)
{
    struct stat info {};
    if (::stat(name, &info) != 0) return QORSysResultFromErrno(errno);
    facts.size = static_cast<std::uint64_t>(info.st_size);
    facts.device = info.st_dev;
    facts.inode = info.st_ino;
    facts.links = info.st_nlink;
    facts.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    facts.mode = info.st_mode & 07777;
    facts.owner = info.st_uid;
    facts.group = info.st_gid;
    facts.regular = S_ISREG(info.st_mode);
    return S_OK;
}

HRESULT CreateTemp(const char* name, OsHandle& handle)
{
    for (int attempt = 0;; ++attempt) {
        const int fd = ::open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);  // a new file: nobody else can hold it yet
            Watch(name);
            handle = fd;
            return S_OK;
        }
        if (errno != EEXIST || attempt > 0) return QORSysResultFromErrno(errno);
        const HRESULT claimed = ClaimStale(name);
        if (claimed < 0) return claimed;
    }
}

HRESULT Sync(OsHandle handle) { return Result(::fsync(Descriptor(handle))); }

HRESULT SetMode(OsHandle handle, const FileFacts& like)
{
    if (::geteuid() == 0 && ::fchown(Descriptor(handle), like.owner, like.group) != 0)
        return QORSysResultFromErrno(errno);
    return Result(::fchmod(Descriptor(handle), like.mode));
}

HRESULT Close(OsHandle handle) { return Result(::close(Descriptor(handle))); }

HRESULT Rename(const char* from, const char* to)
{
    const HRESULT result = Result(::rename(from, to));
    if (result >= 0) Forget();
    return result;
}

HRESULT SyncDirectory(const char* directory)
{
    const int fd = ::open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return QORSysResultFromErrno(errno);
    const HRESULT result = Result(::fsync(fd));
    ::close(fd);
    return result;
}

HRESULT Remove(const char* name)
{
    Forget();
    return Result(::unlink(name));
}

}  // namespace KESTRUNE_REPLACE_CALLS
