// The system calls under the safe replace, beside the file services' own:
// posix/ and win32/ each implement them. A test build renames the real ones
// (KESTRUNE_REPLACE_CALLS) to wrap them in the fault seam, which is why the
// declarations below the guard may be read twice.
#ifndef KESTRUNE_TOOL_REPLACEOS_H
#define KESTRUNE_TOOL_REPLACEOS_H

#include "QORSysResult.h"

#include <cstdint>

namespace kestrune_tool {
using OsHandle = std::intptr_t;
// What the replace checks and keeps of a file; Stat sets every field.
struct FileFacts {
    std::uint64_t size, device, inode, links;
    std::int64_t modified, changed;  // contents, and contents or metadata; in the system's own unit
    unsigned mode, owner, group;
    bool regular;
};
}  // namespace kestrune_tool

#endif

#ifndef KESTRUNE_REPLACE_CALLS
#define KESTRUNE_REPLACE_CALLS ReplaceOs
#endif
namespace KESTRUNE_REPLACE_CALLS {
// The facts of the file called name (UTF-8), links followed.
HRESULT Stat(const char* name, kestrune_tool::FileFacts& facts);
// Creates name, which must not exist, and holds it until it is closed, so
// that another run sees it in use; one left by a run that died is removed
// first. A signal that ends the run removes it too, from before it exists
// until Rename or Remove.
HRESULT CreateTemp(const char* name, kestrune_tool::OsHandle& handle);
// Flushes the file's data to the disk.
HRESULT Sync(kestrune_tool::OsHandle handle);
// Gives the file the owner and group of like; S_FALSE when this user may
// not, which would leave the replacement owned by someone else.
HRESULT SetOwner(kestrune_tool::OsHandle handle, const kestrune_tool::FileFacts& like);
// Gives the file exactly the extended attributes (ACLs among them) of the
// file called from; S_FALSE when one cannot be set or removed.
HRESULT CopyAttributes(const char* from, kestrune_tool::OsHandle handle);
// Gives the file the permission bits of like.
HRESULT SetMode(kestrune_tool::OsHandle handle, const kestrune_tool::FileFacts& like);
// Puts from, the file handle holds, in the place of to in one step, keeping
// what the system keeps of to. S_FALSE when from is no longer that file:
// nothing is done, and from is not this run's to remove. It may close the
// handle (and change it to say so) where the system's replace needs that.
HRESULT Rename(kestrune_tool::OsHandle& handle, const char* from, const char* to);
HRESULT Close(kestrune_tool::OsHandle handle);
// Flushes the directory's entries to the disk.
HRESULT SyncDirectory(const char* directory);
HRESULT Remove(const char* name);
}  // namespace KESTRUNE_REPLACE_CALLS
