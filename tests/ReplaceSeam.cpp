// The safe replace's system calls through the fault seam: a planned fault
// fails a call having done nothing (a close still closes). Besides: a short
// Stat finds one more link and an empty one a new change time; an empty
// SetOwner or CopyAttributes cannot keep what it should, an empty Rename
// finds the temporary file no longer its own.
#include "FaultSeam.h"
#include "ReplaceOs.h"
#undef KESTRUNE_REPLACE_CALLS
#define KESTRUNE_REPLACE_CALLS ReplaceOsReal
#include "ReplaceOs.h"

using namespace FaultSeam;
using kestrune_tool::FileFacts;
using kestrune_tool::OsHandle;

namespace ReplaceOs {

HRESULT Stat(const char* name, FileFacts& facts)
{
    const int kind = Next(FaultSeam::Stat);
    const HRESULT result = kind == Fail ? kInjected : ReplaceOsReal::Stat(name, facts);
    if (kind != Fail) facts.links += kind == Short, facts.changed += kind == Zero;
    return result;
}
HRESULT CreateTemp(const char* name, OsHandle& handle)
{
    return Next(FaultSeam::CreateTemp) >= 0 ? kInjected : ReplaceOsReal::CreateTemp(name, handle);
}
HRESULT Sync(OsHandle handle) { return Next(FaultSeam::Sync) >= 0 ? kInjected : ReplaceOsReal::Sync(handle); }
HRESULT SetOwner(OsHandle handle, const FileFacts& like)
{
    const int kind = Next(FaultSeam::SetOwner);
    return kind >= 0 ? (kind == Zero ? S_FALSE : kInjected) : ReplaceOsReal::SetOwner(handle, like);
}
HRESULT CopyAttributes(const char* from, OsHandle handle)
{
    const int kind = Next(FaultSeam::CopyAttributes);
    return kind >= 0 ? (kind == Zero ? S_FALSE : kInjected) : ReplaceOsReal::CopyAttributes(from, handle);
}
HRESULT SetMode(OsHandle handle, const FileFacts& like)
{
    return Next(FaultSeam::SetMode) >= 0 ? kInjected : ReplaceOsReal::SetMode(handle, like);
}
HRESULT Close(OsHandle handle)
{
    const int kind = Next(CloseTemp);
    const HRESULT result = ReplaceOsReal::Close(handle);
    return kind >= 0 ? kInjected : result;
}
HRESULT Rename(OsHandle& handle, const char* from, const char* to)
{
    const int kind = Next(FaultSeam::Rename);
    return kind >= 0 ? (kind == Zero ? S_FALSE : kInjected) : ReplaceOsReal::Rename(handle, from, to);
}
HRESULT SyncDirectory(const char* directory)
{
    return Next(FaultSeam::SyncDirectory) >= 0 ? kInjected : ReplaceOsReal::SyncDirectory(directory);
}
HRESULT Remove(const char* name) { return Next(FaultSeam::Remove) >= 0 ? kInjected : ReplaceOsReal::Remove(name); }

}  // namespace ReplaceOs
