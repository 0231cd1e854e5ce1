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
    std::int64_t modified;  // in the system's own unit
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
// Creates name, which must not exist, and holds it so that another run sees
// it in use; one left by a run that died is removed first.
HRESULT CreateTemp(const char* name, kestrune_tool::OsHandle& handle);
// Flushes the file's data to the disk.
HRESULT Sync(kestrune_tool::OsHandle handle);
// Gives the file the permission bits of like (and its owner, when we may).
HRESULT SetMode(kestrune_tool::OsHandle handle, const kestrune_tool::FileFacts& like);
HRESULT Close(kestrune_tool::OsHandle handle);
// Puts from in the place of to, in one step.
HRESULT Rename(const char* from, const char* to);
// Flushes the directory's entries to the disk.
HRESULT SyncDirectory(const char* directory);
HRESULT Remove(const char* name);
}  // namespace KESTRUNE_REPLACE_CALLS
