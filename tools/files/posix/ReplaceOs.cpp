#include "ReplaceOs.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <initializer_list>

using kestrune_tool::FileFacts;
using kestrune_tool::OsHandle;

namespace KESTRUNE_REPLACE_CALLS {

namespace {

HRESULT Result(int status) { return status == 0 ? S_OK : QORSysResultFromErrno(errno); }

int Descriptor(OsHandle handle) { return static_cast<int>(handle); }

// The temporary file being written, removed when a signal ends the run (as
// git removes its lock files); SIGKILL leaves it to the next run.
char pending[4096];

void RemovePending(int signal)
{
    if (pending[0] != '\0') ::unlink(pending);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Watch(const char* name)
{
    static const bool watching = [] {
        for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE}) std::signal(signal, RemovePending);
        return true;
    }();
    static_cast<void>(watching);
    const std::size_t length = std::strlen(name);
    if (length < sizeof pending) std::memcpy(pending, name, length + 1);
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
    if (result >= 0) pending[0] = '\0';
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
    pending[0] = '\0';
    return Result(::unlink(name));
}

}  // namespace KESTRUNE_REPLACE_CALLS
