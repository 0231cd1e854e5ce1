#include "SafeReplace.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

namespace kestrune_tool {

namespace {

const Outcome kNoMemory = {"out of memory", QORSysResultFromErrno(ENOMEM)};

// Where name's directory ends, 0 for a name without one.
std::size_t DirectoryEnd(const std::string& name)
{
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

bool Unchanged(const FileFacts& then, const FileFacts& now)
{
    return then.size == now.size && then.modified == now.modified && then.device == now.device &&
           then.inode == now.inode;
}

// Fills, flushes and closes the temporary file; the handle stays open.
Outcome Fill(const std::string& temp, OsHandle handle, const FileFacts& facts,
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
    code = ReplaceOs::Sync(handle);
    if (code < 0) return {"cannot flush the temporary file to disk", code};
    code = ReplaceOs::SetMode(handle, facts);
    if (code < 0) return {"cannot give the temporary file the original's permissions", code};
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
    if (snapshot.facts.links > 1) return {"has several hard links, which a replacement would split: left as it is"};
    return {};
}

Outcome ReplaceWith(const Snapshot& snapshot, const std::function<HRESULT(QORSysFileDescriptor&)>& write)
{
    const std::string temp = TempName(snapshot.target);
    const std::size_t at = DirectoryEnd(snapshot.target);
    const std::string directory = at == 0 ? "." : snapshot.target.substr(0, at);
    OsHandle handle = 0;
    HRESULT code = ReplaceOs::CreateTemp(temp.c_str(), handle);
    if (code < 0) return {"cannot create the temporary file beside it", code};
    Outcome outcome;
    try {
        outcome = Fill(temp, handle, snapshot.facts, write);
    } catch (const std::bad_alloc&) {
        outcome = kNoMemory;  // the temporary file must still go
    }
    code = ReplaceOs::Close(handle);
    if (outcome.Ok() && code < 0) outcome = {"cannot close the temporary file", code};
    FileFacts now;
    code = outcome.Ok() ? ReplaceOs::Stat(snapshot.target.c_str(), now) : S_OK;
    if (code < 0) outcome = {"cannot look at it again before replacing it", code};
    if (outcome.Ok() && !Unchanged(snapshot.facts, now)) outcome = {"changed since it was read: left as it is"};
    code = outcome.Ok() ? ReplaceOs::Rename(temp.c_str(), snapshot.target.c_str()) : S_OK;
    if (code < 0) outcome = {"cannot replace it", code};
    if (!outcome.Ok()) {
        ReplaceOs::Remove(temp.c_str());
        return outcome;
    }
    code = ReplaceOs::SyncDirectory(directory.c_str());
    if (code < 0) return {"replaced, but the directory cannot be flushed to disk", code};
    return {};
}

}  // namespace

constexpr char kTempEnd[] = ".kestrune-tmp";

std::string TempName(const std::string& target)
{
    const std::size_t at = DirectoryEnd(target);
    return target.substr(0, at) + "." + target.substr(at) + kTempEnd;
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

}  // namespace kestrune_tool
