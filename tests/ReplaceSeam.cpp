// The safe replace's system calls through the fault seam: a planned fault
// fails a call having done nothing (a close still closes).
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
    return Next(FaultSeam::Stat) >= 0 ? kInjected : ReplaceOsReal::Stat(name, facts);
}
HRESULT CreateTemp(const char* name, OsHandle& handle)
{
    return Next(FaultSeam::CreateTemp) >= 0 ? kInjected : ReplaceOsReal::CreateTemp(name, handle);
}
HRESULT Sync(OsHandle handle) { return Next(FaultSeam::Sync) >= 0 ? kInjected : ReplaceOsReal::Sync(handle); }
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
HRESULT Rename(const char* from, const char* to)
{
    return Next(FaultSeam::Rename) >= 0 ? kInjected : ReplaceOsReal::Rename(from, to);
}
HRESULT SyncDirectory(const char* directory)
{
    return Next(FaultSeam::SyncDirectory) >= 0 ? kInjected : ReplaceOsReal::SyncDirectory(directory);
}
HRESULT Remove(const char* name) { return Next(FaultSeam::Remove) >= 0 ? kInjected : ReplaceOsReal::Remove(name); }

}  // namespace ReplaceOs
