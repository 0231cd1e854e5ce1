#include "ReplaceOs.h"

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <string>

using kestrune_tool::FileFacts;
using kestrune_tool::OsHandle;

namespace KESTRUNE_REPLACE_CALLS {

namespace {

HRESULT Result(int status) { return status == 0 ? S_OK : QORSysResultFromErrno(errno); }

int Descriptor(OsHandle handle) { return static_cast<int>(handle); }

// The temporary files of this run, removed when a signal ends it (as git
// removes its lock files); SIGKILL leaves them to the next run. A file is
// entered in a slot before it exists and leaves it once renamed or removed.
// The steps that create, rename or remove it run with the signals blocked on
// their thread and the slot kBusy; a handler on another thread waits for
// such a step to end. Once the handler has set `ending`, no thread creates a
// file: a creator marks its slot kBusy before it reads `ending` (both
// sequentially consistent), so either it sees `ending`, or the handler,
// which sets it before reading the slots, sees kBusy and waits.
enum : unsigned char { kFree, kNaming, kBusy, kHeld, kTaken };
static_assert(std::atomic<unsigned char>::is_always_lock_free, "the signal handler reads the slots");
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler sets the flag");
constexpr std::size_t kSlots = 1025;  // as many jobs as a walk takes, and the main thread
std::atomic<unsigned char> slots[kSlots];
char pending[kSlots][4096];
std::atomic<bool> ending{false};
thread_local std::size_t mine = kSlots;  // this thread's slot; kSlots for none
constexpr int kSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE};

void RemovePending(int signal)
{
    ending.store(true);
    for (auto& slot : slots) {
        unsigned char state = slot.load();
        for (; state == kBusy; state = slot.load()) ::sched_yield();
        if (state == kHeld && slot.compare_exchange_strong(state, kTaken)) ::unlink(pending[&slot - slots]);
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);  // delivered, and the run ended, when the handler returns
}

sigset_t Signals()
{
    sigset_t set;
    ::sigemptyset(&set);
    for (const int signal : kSignals) ::sigaddset(&set, signal);
    return set;
}

// A signal that was ignored at start stays ignored: under nohup, SIGHUP must
// not end the run.
void Watch()
{
    static const bool watching = [] {
        struct sigaction action {};
        action.sa_handler = RemovePending;
        action.sa_mask = Signals();
        for (const int signal : kSignals) {
            struct sigaction was {};
            if (::sigaction(signal, nullptr, &was) == 0 && was.sa_handler != SIG_IGN)
                ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    static_cast<void>(watching);
}

// Blocks, on this thread and while it lives, the signals the handler takes.
class Quiet {
public:
    Quiet()
    {
        const sigset_t set = Signals();
        ::pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~Quiet() { ::pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    sigset_t old_;
};

// Marks this thread's held slot busy: false when the handler has it.
bool Busy()
{
    unsigned char held = kHeld;
    return mine != kSlots && slots[mine].compare_exchange_strong(held, kBusy);
}

// Ends a busy step: the file gone (or renamed) frees the slot; else it is held again.
void Done(bool gone)
{
    slots[mine].store(gone ? kFree : kHeld);
    if (gone) mine = kSlots;
}

// True when name still names the file open as fd.
bool Names(const char* name, int fd)
{
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::lstat(name, &named) == 0 && named.st_ino == held.st_ino &&
           named.st_dev == held.st_dev;
}

// Removes a temporary file that no live run holds (its lock went with its
// process), making sure the name still is the file that was found stale;
// false, errno set, when that cannot be done.
bool ClaimStale(const char* name)
{
    const int old = ::open(name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (old < 0) return errno == ENOENT;
    bool done = false;
    if (::flock(old, LOCK_EX | LOCK_NB) != 0)
        errno = EBUSY;  // a live run's
    else
        done = !Names(name, old) || ::unlink(name) == 0;
    const int error = errno;
    ::close(old);
    errno = error;
    return done;
}

// Creates name and locks it; -1 and errno on failure. Between the two,
// another run may open it and take it for stale: the file is ours only if,
// once locked, the name still names it.
int CreateLocked(const char* name)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(name, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && Names(name, fd)) return fd;
        if (fd >= 0)
            ::close(fd);
        else if (errno != EEXIST || !ClaimStale(name))
            return -1;
    }
    errno = EBUSY;
    return -1;
}

// Reads what call(buffer, size) gives (a list of names, a value) into bytes,
// growing it as the value grows; a file system without attributes has none.
template <typename Call>
HRESULT Fetch(Call call, std::string& bytes)
{
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) return errno == ENOTSUP ? (bytes.clear(), S_OK) : QORSysResultFromErrno(errno);
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = call(&bytes[0], bytes.size());
        if (got >= 0) return bytes.resize(static_cast<std::size_t>(got)), S_OK;
        if (errno != ERANGE) return QORSysResultFromErrno(errno);
    }
}

// S_FALSE for an attribute this user or file system will not take.
HRESULT Unkept(int error)
{
    return error == EPERM || error == EACCES || error == ENOTSUP || error == EINVAL ? S_FALSE
                                                                                    : QORSysResultFromErrno(error);
}

bool Listed(const std::string& names, const char* name)
{
    for (std::size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1)
        if (std::strcmp(&names[at], name) == 0) return true;
    return false;
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
    facts.changed = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    facts.mode = info.st_mode & 07777;
    facts.owner = info.st_uid;
    facts.group = info.st_gid;
    facts.regular = S_ISREG(info.st_mode);
    return S_OK;
}

HRESULT CreateTemp(const char* name, OsHandle& handle)
{
    Watch();
    const std::size_t length = std::strlen(name);
    if (length >= sizeof pending[0]) return QORSysResultFromErrno(ENAMETOOLONG);
    const Quiet quiet;
    if (Busy()) Done(true);  // one whose Rename or Remove never ran is let go
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        unsigned char free = kFree;
        if (!slots[slot].compare_exchange_strong(free, kNaming)) continue;
        std::memcpy(pending[slot], name, length + 1);
        slots[slot].store(kBusy);
        mine = slot;
        break;
    }
    if (mine == kSlots) return QORSysResultFromErrno(EAGAIN);
    const int fd = ending.load() ? (errno = EINTR, -1) : CreateLocked(name);
    const HRESULT result = fd < 0 ? QORSysResultFromErrno(errno) : S_OK;
    if (fd >= 0) handle = fd;
    Done(fd < 0);
    return result;
}

HRESULT Sync(OsHandle handle) { return Result(::fsync(Descriptor(handle))); }

HRESULT SetOwner(OsHandle handle, const FileFacts& like)
{
    struct stat now {};
    if (::fstat(Descriptor(handle), &now) != 0) return QORSysResultFromErrno(errno);
    if (now.st_uid == like.owner && now.st_gid == like.group) return S_OK;
    // Only root gives a file away; an owner may give it a group of its own.
    if (::geteuid() != 0 && now.st_uid != like.owner) return S_FALSE;
    if (::fchown(Descriptor(handle), like.owner, like.group) == 0) return S_OK;
    return errno == EPERM ? S_FALSE : QORSysResultFromErrno(errno);
}

// The POSIX ACLs are the attributes system.posix_acl_*: copied with the rest.
HRESULT CopyAttributes(const char* from, OsHandle handle)
{
    const int fd = Descriptor(handle);
    std::string kept, names, value;
    HRESULT result = Fetch([&](char* to, std::size_t size) { return ::listxattr(from, to, size); }, kept);
    for (std::size_t at = 0; result >= 0 && at < kept.size(); at += std::strlen(&kept[at]) + 1) {
        const char* name = &kept[at];
        result = Fetch([&](char* to, std::size_t size) { return ::getxattr(from, name, to, size); }, value);
        if (result >= 0 && ::fsetxattr(fd, name, value.data(), value.size(), 0) != 0) result = Unkept(errno);
    }
    // What the new file has that the original lacks (an ACL from the directory's default) goes.
    if (result >= 0) result = Fetch([&](char* to, std::size_t size) { return ::flistxattr(fd, to, size); }, names);
    for (std::size_t at = 0; result >= 0 && at < names.size(); at += std::strlen(&names[at]) + 1) {
        if (!Listed(kept, &names[at]) && ::fremovexattr(fd, &names[at]) != 0) result = Unkept(errno);
    }
    return result;
}

HRESULT SetMode(OsHandle handle, const FileFacts& like) { return Result(::fchmod(Descriptor(handle), like.mode)); }

// The lock taken at creation is held until Close, after this: another run
// removes a temporary file only once it holds that lock and has seen that the
// name still names the locked file, so no run of ours can have put another
// file under from. The check of the name against the held descriptor, just
// before the rename, finds anything else that did.
// cppcheck-suppress constParameter  ; the Windows side closes it
HRESULT Rename(OsHandle& handle, const char* from, const char* to)
{
    const Quiet quiet;
    if (!Busy()) return QORSysResultFromErrno(EINTR);  // a signal is ending the run, and removes it
    const HRESULT result = Names(from, Descriptor(handle)) ? Result(::rename(from, to)) : S_FALSE;
    Done(result == S_OK || result == S_FALSE);
    return result;
}

HRESULT Close(OsHandle handle) { return Result(::close(Descriptor(handle))); }

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
    const Quiet quiet;
    if (mine != kSlots && !Busy()) return S_OK;  // the signal handler has it
    const HRESULT result = Result(::unlink(name));
    if (mine != kSlots) Done(true);
    return result;
}

}  // namespace KESTRUNE_REPLACE_CALLS
