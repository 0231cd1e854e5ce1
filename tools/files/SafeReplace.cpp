#include "SafeReplace.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <new>
#include <set>
#include <system_error>

namespace kestrune_tool {

namespace {

const Outcome kNoMemory = {"out of memory", QORSysResultFromErrno(ENOMEM)};

// The directories whose entries a replace has changed since they were last
// flushed, from every thread of the run.
std::mutex unflushedLock;
std::set<std::string> unflushed;

// Where name's directory ends, 0 for a name without one: a backslash
// separates only where the system says so (Windows).
std::size_t DirectoryEnd(const std::string& name)
{
    return name.size() - std::filesystem::u8path(name).filename().u8string().size();
}

bool Unchanged(const FileFacts& then, const FileFacts& now)
{
    // The change time moves with a new link, a chmod or a rename too; the temporary file's metadata is its own.
    return then.size == now.size && then.modified == now.modified && then.changed == now.changed &&
           then.device == now.device && then.inode == now.inode && then.links == now.links;
}

// Fills the temporary file, gives it what the original has besides its
// bytes and flushes it to disk; the handle stays open.
Outcome Fill(const std::string& temp, OsHandle handle, const Snapshot& snapshot,
             const std::function<HRESULT(QORSysFileDescriptor&)>& write)
{
    QORSysPath path;
    QORSysFileDescriptor file;
    HRESULT code = path.Set(temp.c_str());
    if (code >= 0) code = QORSysFOpen(path, "r+b", file, 0);
    if (code < 0) return {"cannot open the temporary file", code};
    try {
        code = write(file);
    } catch (const std::bad_alloc&) {
        QORSysFClose(file);
        throw;
    }
    const HRESULT closed = QORSysFClose(file);
    if (code < 0 || closed < 0) return {"cannot write the temporary file", code < 0 ? code : closed};
    // Owner first (a chown clears the set-id bits), the mode last (over the ACL's mask, to the same bits).
    code = ReplaceOs::SetOwner(handle, snapshot.facts);
    if (code == S_FALSE) return {"owned by a user or group this user cannot give the replacement: left as it is"};
    if (code < 0) return {"cannot give the temporary file the original's owner", code};
    code = ReplaceOs::CopyAttributes(snapshot.target.c_str(), handle);
    if (code == S_FALSE) return {"has an ACL or extended attribute the replacement cannot be given: left as it is"};
    if (code < 0) return {"cannot give the temporary file the original's ACL and extended attributes", code};
    code = ReplaceOs::SetMode(handle, snapshot.facts);
    if (code < 0) return {"cannot give the temporary file the original's permissions", code};
    code = ReplaceOs::Sync(handle);
    if (code < 0) return {"cannot flush the temporary file to disk", code};
    return {};
}

Outcome LookAt(const char* name, Snapshot& snapshot)
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::u8path(name);
    // A link stays a link: its target is what gets replaced.
    snapshot.target =
        std::filesystem::is_symlink(path, error) ? std::filesystem::canonical(path, error).u8string() : name;
    if (error) return {"cannot follow the link", QORSysResultFromErrno(error.value())};
    const HRESULT code = ReplaceOs::Stat(snapshot.target.c_str(), snapshot.facts);
    if (code < 0) return {"cannot open", code};
    if (!snapshot.facts.regular) return {"not a regular file: left as it is"};
    return {};
}

Outcome ReplaceWith(const Snapshot& snapshot, const std::function<HRESULT(QORSysFileDescriptor&)>& write)
{
    if (snapshot.facts.links > 1) return {"has several hard links, which a replacement would split: left as it is"};
    const std::string temp = TempName(snapshot.target);
    const std::size_t at = DirectoryEnd(snapshot.target);
    const std::string directory = at == 0 ? "." : snapshot.target.substr(0, at);
    OsHandle handle = 0;
    HRESULT code = ReplaceOs::CreateTemp(temp.c_str(), handle);
    if (code < 0) return {"cannot create the temporary file beside it", code};
    Outcome outcome;
    try {
        outcome = Fill(temp, handle, snapshot, write);
    } catch (const std::bad_alloc&) {
        outcome = kNoMemory;  // the temporary file must still go
    }
    // The temporary file stays held until it is renamed or removed, so that
    // no other run takes it for one left by a dead run and puts its own there.
    FileFacts now;
    code = outcome.Ok() ? ReplaceOs::Stat(snapshot.target.c_str(), now) : S_OK;
    if (code < 0) outcome = {"cannot look at it again before replacing it", code};
    if (outcome.Ok() && !Unchanged(snapshot.facts, now)) outcome = {"changed since it was read: left as it is"};
    code = outcome.Ok() ? ReplaceOs::Rename(handle, temp.c_str(), snapshot.target.c_str()) : S_OK;
    if (code == S_FALSE) outcome = {"its temporary file was replaced by another: left as it is"};
    if (code < 0) outcome = {"cannot replace it", code};
    if (!outcome.Ok() && code != S_FALSE) ReplaceOs::Remove(temp.c_str());
    code = ReplaceOs::Close(handle);
    if (!outcome.Ok()) return outcome;
    if (code < 0) return {"replaced, but the new file cannot be closed", code};
    try {
        const std::lock_guard<std::mutex> hold(unflushedLock);
        unflushed.insert(directory);
    } catch (const std::bad_alloc&) {
        // Not kept for later: flushed now.
        code = ReplaceOs::SyncDirectory(directory.c_str());
        if (code < 0) return {"replaced, but the directory cannot be flushed to disk", code};
    }
    return {};
}

}  // namespace

constexpr char kTempEnd[] = ".kestrune-tmp";

std::string TempName(const std::string& target)
{
    const std::size_t at = DirectoryEnd(target);
    std::string base = target.substr(at);
    // No name may pass 255 bytes (Linux), nor 255 UTF-16 units (Windows, never more than the UTF-8 bytes). A
    // longer one is cut where a letter starts, and a hash of the whole name keeps it one file's own.
    constexpr std::size_t kMax = 255, kEnd = sizeof kTempEnd - 1, kHash = 17;
    if (1 + base.size() + kEnd > kMax) {
        std::uint64_t hash = 14695981039346656037u;  // FNV-1a
        for (const unsigned char byte : base) hash = (hash ^ byte) * 1099511628211u;
        std::size_t keep = kMax - 1 - kHash - kEnd;
        while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
        char tail[kHash + 1];
        std::snprintf(tail, sizeof tail, "~%016llx", static_cast<unsigned long long>(hash));
        base.resize(keep);
        base += tail;
    }
    return target.substr(0, at) + "." + base + kTempEnd;
}

bool IsTempName(const std::string& name)
{
    const std::size_t end = sizeof kTempEnd - 1;
    return name.size() > end + 1 && name[0] == '.' && name.compare(name.size() - end, end, kTempEnd) == 0;
}

Outcome Inspect(const char* name, Snapshot& snapshot)
{
    try {
        return LookAt(name, snapshot);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
}

Outcome Replace(const Snapshot& snapshot, const std::function<HRESULT(QORSysFileDescriptor&)>& write)
{
    try {
        return ReplaceWith(snapshot, write);
    } catch (const std::bad_alloc&) {
        return kNoMemory;  // only before the temporary file is made: ReplaceWith catches the rest
    }
}

void FlushDirectories(const std::function<void(const char* directory, const Outcome& outcome)>& failed)
{
    std::set<std::string> directories;
    {
        const std::lock_guard<std::mutex> hold(unflushedLock);
        directories.swap(unflushed);
    }
    for (const std::string& directory : directories) {
        const HRESULT code = ReplaceOs::SyncDirectory(directory.c_str());
        if (code < 0) failed(directory.c_str(), {"files were replaced in it, but it cannot be flushed to disk", code});
    }
}

}  // namespace kestrune_tool
